#include "app/SurfaceRebuild.h"

#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"
#include "image/PixelCache.h"

#include <memory>
#include <new>

namespace {

void dropSurfaces(FaceState& face) {
    face.globeCanvas.reset();
    face.calendarCanvas.reset();
    face.clockCanvas.reset();
    face.textRenderer.reset();
}

// Makes the canvases for the face's unit, and a text renderer. A change of
// layout keeps the text renderer (its fonts are kept by cell height, so the
// text it draws does not depend on the sizes it drew before) and the globe
// canvas, which the layout's work replaces when it begins to trace: the first
// frame needs neither made anew.
bool createSurfaces(FaceState& face, bool layoutChange) {
    if (face.unit < 1) {
        return false;
    }
    const bool newRenderer = !layoutChange || !face.textRenderer;
    try {
        auto clockCanvas = makeFlatCanvas(face.clientWidth, face.halfHeight, 2, PixelFormatRgbBytes);
        auto calendarCanvas = makeFlatCanvas(face.clientWidth, face.halfHeight, 1, PixelFormatRgbBytes);
        if (!clockCanvas || !calendarCanvas) {
            return false;
        }
        if (!layoutChange || !face.globeCanvas) {
            face.globeCanvas = makeFlatCanvas(2 * face.clientWidth, 2 * face.clientWidth, 1, PixelFormatRgbBytes);
            if (!face.globeCanvas) {
                return false;
            }
        }
        face.clockCanvas = std::move(clockCanvas);
        face.calendarCanvas = std::move(calendarCanvas);
        if (newRenderer) {
            face.textRenderer = std::make_unique<TextRenderer>();
        }
    } catch (const std::bad_alloc&) {
        // A unit so large that its canvases do not fit in memory: run on without
        // surfaces rather than end the program.
        dropSurfaces(face);
        return false;
    }
    // Without a font the clock still shows its dial and hands; the text is then
    // left out by the drawing code.
    if (newRenderer) {
        face.textRenderer->initialise();
    }
    return true;
}

}  // namespace

std::int32_t rebuildSurfaces(FaceState& face, const platform::Clock& clock) {
    dropSurfaces(face);
    face.lastFrame = {};
    face.minuteWork.reset();
    if (!createSurfaces(face, false)) {
        return 0;
    }
    reloadIfChanged(face.earthTexture);
    reloadIfChanged(face.moonTexture);
    renderGlobes(*face.globeCanvas, globeSizeForUnit(face.unit), &face.earthTexture, &face.moonTexture, clock,
                 face.globes, face.options.earthshine);
    drawCalendar(face, clock);
    static_cast<void>(drawClockFace(face, clock));
    return 1;
}

std::int32_t changeLayout(FaceState& face, const platform::Clock& clock) {
    if (!surfacesReady(face)) {
        return rebuildSurfaces(face, clock);
    }
    // The old canvases go before the new ones are made, so that the two sizes
    // hold no canvases together (the old unit's kept backgrounds stay until
    // the layout's work replaces them). The globe canvas, which the layout's
    // work makes anew at the new size when it begins, shrinks to a pixel
    // meanwhile, its memory given back for the new canvases to take.
    face.calendarCanvas.reset();
    face.clockCanvas.reset();
    if (face.globeCanvas->create(1, 1, 1) == 0) {
        dropSurfaces(face);
        return 0;
    }
    face.lastFrame = {};
    face.minuteWork.reset();
    if (!createSurfaces(face, true)) {
        dropSurfaces(face);
        return 0;
    }
    face.minuteWork.relayout(clock);
    drawCalendar(face, clock);
    static_cast<void>(drawClockFace(face, clock));
    return 1;
}
