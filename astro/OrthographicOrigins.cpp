#include "astro/OrthographicOrigins.h"

#include "raster/Camera.h"

OrthographicOrigins::OrthographicOrigins(const Camera& camera)
    : toWorld(camera.toWorld), viewWidth(camera.fov) {
    const CameraViewport view = camera.viewport();
    viewportWidth = view.widthPx;
    inverseWidth = view.inverseWidth;
    centerX = view.centerX;
    centerY = view.centerY;
    hasViewportBox = view.bound;
    viewWidthLanes = bothLanes(viewWidth);
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
    const double z = viewWidth * sy;  // camera-space z of the row, scene units
    Row terms;
    for (int k = 0; k < 3; ++k) {
        terms.upTerm[k] = bothLanes(toWorld.at(k, 2) * z);
    }
    return terms;
}
