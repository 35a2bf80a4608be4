#include "clockface/ClockFace.h"

#include "astro/TimeScale.h"
#include "clockface/Calendar.h"
#include "clockface/ClockHands.h"
#include "clockface/DateText.h"
#include "clockface/FaceState.h"
#include "clockface/FaceTime.h"
#include "text/DrawText.h"

#include <array>
#include <string>
#include <vector>

namespace {

void drawDateLine(Canvas& canvas, const DialGeometry& dial, const std::string& text, FaceState& face) {
    drawText(canvas, dial.centerX, 8, std::u16string(text.begin(), text.end()), *face.textRenderer,
             3 * face.unit / 4, Color::bytes(255, 255, 255), &face.lastFrame.dateArea);
    face.lastFrame.dateText = text;
}

// What the hands leave and take, widened to whole display blocks; the date line
// too when its text changes, or should a hand ever reach it (it would be drawn
// over twice otherwise), and then redrawDate is set.
std::vector<StoreRect> changedAreas(const FaceFrame& last, const std::array<StoreRect, 3>& hands,
                                    const std::string& text, std::int32_t scale, bool& redrawDate) {
    std::vector<StoreRect> areas;
    for (std::size_t i = 0; i < hands.size(); ++i) {
        areas.push_back(last.hands[i].unite(hands[i]).wholeBlocks(scale));
    }
    redrawDate = text != last.dateText;
    for (const StoreRect& area : areas) {
        redrawDate = redrawDate || area.intersects(last.dateArea);
    }
    if (redrawDate) {
        areas.push_back(last.dateArea.wholeBlocks(scale));
    }
    return areas;
}

// Presents the areas and adds what the display buffer took of them to damage.
void presentAreas(Canvas& canvas, const std::vector<StoreRect>& areas, FaceDamage& damage) {
    for (const StoreRect& area : areas) {
        const StoreRect presented = canvas.present(area);
        if (!presented.empty()) {
            damage.clock.push_back(presented);
        }
    }
}

}  // namespace

FaceDamage drawClockFace(FaceState& face, const platform::Clock& clock) {
    FaceDamage damage;
    if (!canDrawOn(face, face.clockCanvas)) {
        return damage;
    }
    Canvas& canvas = *face.clockCanvas;
    const DialGeometry dial = DialGeometry::forUnit(face.unit);
    const FaceTime time = FaceTime::fromLocalTime(clock.localNow());

    // At the turn of each minute, and at once when the wall clock jumped to
    // another day than the calendar shows.
    const bool dayChanged = canDrawOn(face, face.calendarCanvas) && face.calendarDay != calendarDay(clock);
    if (time.minuteIsTurning() || dayChanged) {
        drawCalendar(face, clock);
        damage.calendar = true;
    }

    const Globe globe = time.showsMoon() ? Globe::Moon : Globe::Earth;
    const Image* picture = face.globes.picture(globe);
    const std::uint64_t generation = face.globes.generation(globe);
    // The date text reads the clock again, without the hands' half-second lead.
    const std::string text = formatDateTime(packedDateFromJulianDay(currentJulianDayLocal(clock)));
    const std::array<StoreRect, 3> hands = handExtents(dial, time.hours, time.minutes, time.seconds);
    FaceFrame& last = face.lastFrame;
    const auto drawWhole = [&]() {
        face.dialBackground.restore(canvas, face.unit, globe, picture, generation, *face.textRenderer);
        drawHands(canvas, dial, time.hours, time.minutes, time.seconds);
        drawDateLine(canvas, dial, text, face);
        canvas.present();
        last.valid = true;
        last.globe = globe;
        last.picture = picture;
        last.pictureGeneration = generation;
        last.hands = hands;
        damage.clock.assign(1, {0, 0, canvas.width, canvas.height});
        return damage;
    };
    if (!last.valid || last.globe != globe || last.picture != picture || last.pictureGeneration != generation) {
        return drawWhole();
    }

    bool redrawDate = false;
    std::vector<StoreRect> areas = changedAreas(last, hands, text, canvas.scale, redrawDate);
    for (const StoreRect& area : areas) {
        if (face.dialBackground.restoreArea(canvas, area) != 1) {
            return drawWhole();
        }
    }
    drawHands(canvas, dial, time.hours, time.minutes, time.seconds);
    last.hands = hands;
    if (redrawDate) {
        // The new line may reach past the old one, over pixels that hold only
        // the background.
        drawDateLine(canvas, dial, text, face);
        areas.push_back(last.dateArea.wholeBlocks(canvas.scale));
    }
    presentAreas(canvas, areas, damage);
    return damage;
}
