#include "app/SurfaceRebuild.h"

#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"

#include <memory>
#include <new>

namespace {

// A byte-RGB canvas without a depth plane, or null when its stores cannot be had.
std::unique_ptr<Canvas> makeCanvas(std::int32_t widthPx, std::int32_t heightPx,
                                   std::int16_t scaleFactor) {
    auto canvas = std::make_unique<Canvas>();
    canvas->pixelFormat = PixelFormatRgbBytes;
    canvas->depthFormat = DepthFormatNone;
    if (canvas->create(widthPx, heightPx, scaleFactor) != 1 || !canvas->hasPixels()) {
        return nullptr;
    }
    return canvas;
}

bool createSurfaces(FaceState& face) {
    if (face.unit < 1) {
        return false;
    }
    try {
        auto clockCanvas = makeCanvas(face.clientWidth, face.halfHeight, 2);
        auto calendarCanvas = makeCanvas(face.clientWidth, face.halfHeight, 1);
        auto globeCanvas = makeCanvas(2 * face.clientWidth, 2 * face.clientWidth, 1);
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
    renderGlobes(*face.globeCanvas, globeSizeForUnit(face.unit), &face.earthTexture, &face.moonTexture, clock,
                 face.globes);
    drawCalendar(face, clock);
    static_cast<void>(drawClockFace(face, clock));
    return 1;
}

bool surfacesReady(const FaceState& face) {
    return face.clockCanvas && face.calendarCanvas && face.globeCanvas && face.textRenderer &&
           face.clockCanvas->hasPixels() && face.calendarCanvas->hasPixels() &&
           face.globeCanvas->hasPixels();
}
