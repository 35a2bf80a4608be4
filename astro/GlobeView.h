#pragma once

#include "raster/Vector3.h"

#include <cstdint>

class Canvas;
class Image;
struct Camera;
struct GlobeBody;

// The square of globe-canvas pixels that one body's disc is traced in.
struct GlobeView {
    bool usable = false;          // false for a unit < 1 or a canvas without pixels: nothing is traced
    double clientWidthPx = 0.0;   // W = 7U, pixels
    double discRadiusPx = 0.0;    // R_px = 5U: the disc radius the field of view is scaled for, pixels
    std::int32_t firstColumn = 0;  // traced columns firstColumn … lastColumn inclusive
    std::int32_t lastColumn = -1;
    std::int32_t firstRow = 0;     // traced rows firstRow … lastRow inclusive
    std::int32_t lastRow = -1;
};

// The traced square for a unit of U pixels on globeCanvas (14U × 14U). For an even
// U it is the disc's centre c = 7U ± 5U. For an odd U the canvas's pixel store is
// two columns wider than 14U, the camera centres and scales the view by that
// store, and the disc grows a little and moves off c; the square is then taken
// around the projected disc itself (centre ± ceil(radius) + 1, clipped to the
// canvas) so that no edge of the disc is cut off.
GlobeView globeView(const Canvas& globeCanvas, std::int32_t unit);

// Ray-traces the rows firstRow … lastRow of the view's square (rows outside it
// are skipped) of one body into globeCanvas, with camera (its fov already set)
// looking from eye at the body: shades and textures every pixel whose ray meets
// the body and leaves the others as they are. The caller clears the canvas
// before the first rows and presents it after the last; each row is traced on
// its own, so a body traced in bands comes out as one traced at once. A null
// texture draws nothing: the disc stays black.
void renderBody(Camera& camera, Canvas& globeCanvas, const GlobeView& view, const GlobeBody& body,
                const Image* texture, const Vector3& eye, std::int32_t firstRow, std::int32_t lastRow);
