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
    fovLanes = bothLanes(fov);
    inverseWidthLanes = bothLanes(inverseWidth);
    centerXLanes = bothLanes(centerX);
    for (int k = 0; k < 3; ++k) {
        acrossTerm[k] = bothLanes(toWorld.at(k, 0));
        forwardTerm[k] = bothLanes(toWorld.at(k, 1) * 0.0);  // the camera-space y of every origin is 0
        positionTerm[k] = bothLanes(toWorld.at(k, 3));
    }
}

OrthographicOrigins::Row OrthographicOrigins::row(std::int32_t y) const {
    const double sy = hasViewportBox ? (static_cast<double>(y) - centerY) * inverseWidth : 0.0;
    const double z = fov * sy;  // camera-space z of the row, scene units
    Row terms;
    for (int k = 0; k < 3; ++k) {
        terms.upTerm[k] = bothLanes(toWorld.at(k, 2) * z);
    }
    return terms;
}
