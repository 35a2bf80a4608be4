#include "app/SurfaceRebuild.h"

#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"
#include "image/PixelCache.h"

#include <memory>
#include <new>

namespace {

bool createSurfaces(FaceState& face) {
    if (face.unit < 1) {
        return false;
    }
    try {
        auto clockCanvas = makeFlatCanvas(face.clientWidth, face.halfHeight, 2, PixelFormatRgbBytes);
        auto calendarCanvas = makeFlatCanvas(face.clientWidth, face.halfHeight, 1, PixelFormatRgbBytes);
        auto globeCanvas = makeFlatCanvas(2 * face.clientWidth, 2 * face.clientWidth, 1, PixelFormatRgbBytes);
        if (!clockCanvas || !calendarCanvas || !globeCanvas) {
            return false;
        }
        face.clockCanvas = std::move(clockCanvas);
        face.calendarCanvas = std::move(calendarCanvas);
        face.globeCanvas = std::move(globeCanvas);
        face.textRenderer = std::make_unique<TextRenderer>();
    } catch (const std::bad_alloc&) {
        // A unit so large that its canvases do not fit in memory: run on without
        // surfaces rather than end the program.
        face.clockCanvas.reset();
        face.calendarCanvas.reset();
        face.globeCanvas.reset();
        face.textRenderer.reset();
        return false;
    }
    // Without a font the clock still shows its dial and hands; the text is then
    // left out by the drawing code.
    face.textRenderer->initialise();
    return true;
}

}  // namespace

std::int32_t rebuildSurfaces(FaceState& face, const platform::Clock& clock) {
    face.globeCanvas.reset();
    face.calendarCanvas.reset();
    face.clockCanvas.reset();
    face.textRenderer.reset();
    face.lastFrame = {};
    face.minuteWork.reset();
    if (!createSurfaces(face)) {
        return 0;
    }
    reloadIfChanged(face.earthTexture);
    reloadIfChanged(face.moonTexture);
    renderGlobes(*face.globeCanvas, globeSizeForUnit(face.unit), &face.earthTexture, &face.moonTexture, clock,
                 face.globes);
    drawCalendar(face, clock);
    static_cast<void>(drawClockFace(face, clock));
    return 1;
}
