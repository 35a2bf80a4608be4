#include "clockface/ClockFace.h"

#include "astro/TimeScale.h"
#include "clockface/Calendar.h"
#include "clockface/ClockHands.h"
#include "clockface/DateText.h"
#include "clockface/FaceState.h"
#include "clockface/FaceTime.h"
#include "text/DrawText.h"

#include <string>

void drawClockFace(FaceState& face, const platform::Clock& clock) {
    if (!face.clockCanvas || !face.clockCanvas->hasPixels() || !face.textRenderer) {
        return;
    }
    Canvas& canvas = *face.clockCanvas;
    const DialGeometry dial = DialGeometry::forUnit(face.unit);
    const FaceTime time = FaceTime::fromLocalTime(clock.localNow());

    if (time.minuteIsTurning()) {
        drawCalendar(face, clock);
        if (face.globeCanvas && face.globeCanvas->hasPixels()) {
            renderGlobes(*face.globeCanvas, face.unit, &face.earthTexture, &face.moonTexture, clock,
                         face.globes);
        }
    }

    const Image* picture = time.showsMoon() ? face.globes.moonGlobe.get() : face.globes.earthGlobe.get();
    face.dialBackground.restore(canvas, face.unit, picture, face.globes.generation, *face.textRenderer);
    drawHands(canvas, dial, time.hours, time.minutes, time.seconds);

    // The date text reads the clock again, without the hands' half-second lead.
    const std::string text = formatDateTime(packedDateFromJulianDay(currentJulianDayLocal(clock)));
    drawText(canvas, dial.centerX, 8, std::u16string(text.begin(), text.end()), *face.textRenderer,
             3 * face.unit / 4, Color::bytes(255, 255, 255));

    canvas.present();
}
