#pragma once

#include "astro/Lanes.h"
#include "raster/Matrix4.h"
#include "raster/Vector3.h"

#include <cstdint>

struct Camera;

// The origins of an orthographic camera's rays, by the arithmetic of
// Camera::pixelRay: the offset in the camera's viewport (x − centre)·(1/width)
// scaled by the view width (the camera's fov), then the camera-to-scene
// transform of (fov·sx, 0, fov·sy). The
// products that stay the same along a row are taken once per row; every sum is
// formed from the same terms in the same order, so each origin comes out bit for
// bit as pixelRay gives it, without pixelRay's direction and its square root
// per pixel.
class OrthographicOrigins {
public:
    // Takes the camera's transform, view width and viewport as they are now.
    explicit OrthographicOrigins(const Camera& camera);

    // The terms of one row's origins that stay the same along it.
    struct Row {
        Lanes upTerm[3] = {};  // toWorld column 2 times the row's camera-space z, scene units, in both lanes
    };
    Row row(std::int32_t y) const;

    // The origins of the rays through columns x and x + 1 of the row, in lanes 0
    // and 1. The constants are kept in both lanes already, so that the loop
    // around this reads each from memory in one step.
    [[gnu::always_inline]] Vector3Lanes originLanes(const Row& row, std::int32_t x) const {
        const Lanes column = twoLanes(x, static_cast<double>(x) + 1.0);
        const Lanes sx = hasViewportBox ? (column - centerXLanes) * inverseWidthLanes : bothLanes(0.0);
        const Lanes cameraX = viewWidthLanes * sx;  // scene units
        const auto component = [&](int k) {
            return acrossTerm[k] * cameraX + forwardTerm[k] + row.upTerm[k] + positionTerm[k];
        };
        return {component(0), component(1), component(2)};
    }

    // False for a camera without a canvas: every ray starts at the viewport centre.
    bool hasViewport() const { return hasViewportBox; }
    double viewportWidthPx() const { return viewportWidth; }
    std::int32_t viewportCenterX() const { return centerX; }  // pixels
    std::int32_t viewportCenterY() const { return centerY; }  // pixels

private:
    Matrix4 toWorld;             // the camera's camera-to-scene transform
    double viewWidth = 0.0;      // the camera's fov: the view's width, scene units
    double viewportWidth = 0.0;  // pixels
    double inverseWidth = 0.0;   // 1 / viewport width, 1/pixels
    std::int32_t centerX = 0;    // viewport centre, pixels
    std::int32_t centerY = 0;
    bool hasViewportBox = false;
    // The same numbers in both lanes:
    Lanes viewWidthLanes = {};
    Lanes inverseWidthLanes = {};
    Lanes centerXLanes = {};
    Lanes acrossTerm[3] = {};    // toWorld column 0
    Lanes forwardTerm[3] = {};   // toWorld column 1 times the origins' camera-space y of 0, scene units
    Lanes positionTerm[3] = {};  // toWorld column 3, the camera's position, scene units
};
