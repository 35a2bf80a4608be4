#pragma once

#include "raster/Vector3.h"

#include <cstdint>

class Canvas;
class Image;
struct Camera;
struct GlobeBody;

// The size of the picture a globe is traced for, as its caller lays it out. The
// globe canvas is 2W × 2W pixels, or two columns wider for an odd W.
struct GlobeSize {
    std::int32_t clientWidthPx = 0;  // W: half the canvas's width, pixels
    std::int32_t discRadiusPx = 0;   // R_px: the disc radius the field of view is scaled for, pixels
};

// The square of globe-canvas pixels that one body's disc is traced in.
struct GlobeView {
    bool usable = false;          // false for a size below 1 or a canvas without pixels: nothing is traced
    double clientWidthPx = 0.0;   // W, pixels
    double discRadiusPx = 0.0;    // R_px, pixels
    std::int32_t firstColumn = 0;  // traced columns firstColumn … lastColumn inclusive
    std::int32_t lastColumn = -1;
    std::int32_t firstRow = 0;     // traced rows firstRow … lastRow inclusive
    std::int32_t lastRow = -1;
};

// The traced square for a picture of the given size on globeCanvas (2W × 2W). For
// an even W it is the disc's centre c = W ± R_px. For an odd W the canvas's pixel
// store is two columns wider than 2W, the camera centres and scales the view by
// that store, and the disc grows a little and moves off c; the square is then
// taken around the projected disc itself (centre ± ceil(radius) + 1, clipped to
// the canvas) so that no edge of the disc is cut off.
GlobeView globeView(const Canvas& globeCanvas, const GlobeSize& size);

// Ray-traces the rows firstRow … lastRow of the view's square (rows outside it
// are skipped) of one body into globeCanvas, through an orthographic camera of
// lens's view width (its fov) and canvas, set at eye and aimed at the body (lens
// itself is left as it is): shades and textures every pixel whose ray meets
// the body and leaves the others as they are. The caller clears the canvas
// before the first rows and presents it after the last; each row is traced on
// its own, so a body traced in bands comes out as one traced at once. A null
// texture draws nothing: the disc stays black. earthlight, on the shade scale
// 0 … 1, lights the night side with light from the eye's direction, as the
// Earth lights the Moon seen from it (earthlitShadeOf); 0 leaves the Sun's
// light alone, every pixel as it has always been traced.
void renderBody(const Camera& lens, Canvas& globeCanvas, const GlobeView& view, const GlobeBody& body,
                const Image* texture, const Vector3& eye, std::int32_t firstRow, std::int32_t lastRow,
                double earthlight = 0.0);
