#include "astro/OrthographicOrigins.h"

#include "raster/Camera.h"
#include "raster/Canvas.h"

OrthographicOrigins::OrthographicOrigins(const Camera& camera) : toWorld(camera.toWorld), fov(camera.fov) {
    // The viewport is the whole canvas, or the clip shape's box when the canvas
    // has one; pixels are square, so both axes are divided by the width.
    if (const Canvas* canvas = camera.canvas; canvas != nullptr) {
        const bool wholeCanvas = canvas->clipShape == ClipNone;
        viewportWidth = wholeCanvas ? canvas->width : 2.0 * canvas->clipHalfWidth;
        inverseWidth = 1.0 / viewportWidth;
        centerX = wholeCanvas ? canvas->width / 2 : canvas->clipCenterX;
        centerY = wholeCanvas ? canvas->height / 2 : canvas->clipCenterY;
        hasViewportBox = true;
    }
    for (int k = 0; k < 3; ++k) {
        forwardTerm[k] = toWorld.at(k, 1) * 0.0;  // the camera-space y of every origin is 0
    }
}

void OrthographicOrigins::fillRow(std::int32_t first, std::int32_t row, std::size_t count,
                                  Vector3* origins) const {
    const double sy = hasViewportBox ? (static_cast<double>(row) - centerY) * inverseWidth : 0.0;
    const double z = fov * sy;  // camera-space z of the row, scene units
    double upTerm[3];
    for (int k = 0; k < 3; ++k) {
        upTerm[k] = toWorld.at(k, 2) * z;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double column = first + static_cast<std::int32_t>(i);
        const double sx = hasViewportBox ? (column - centerX) * inverseWidth : 0.0;
        const double x = fov * sx;  // camera-space x, scene units
        origins[i] = {toWorld.at(0, 0) * x + forwardTerm[0] + upTerm[0] + toWorld.at(0, 3),
                      toWorld.at(1, 0) * x + forwardTerm[1] + upTerm[1] + toWorld.at(1, 3),
                      toWorld.at(2, 0) * x + forwardTerm[2] + upTerm[2] + toWorld.at(2, 3)};
    }
}
