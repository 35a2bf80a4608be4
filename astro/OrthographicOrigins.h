#pragma once

#include "raster/Matrix4.h"
#include "raster/Vector3.h"

#include <cstddef>
#include <cstdint>

struct Camera;

// The origins of an orthographic camera's rays, by the arithmetic of
// Camera::pixelRay: the viewport offset (x − centre)·(1/width) scaled by the
// view width, then the camera-to-scene transform of (fov·sx, 0, fov·sy). The
// products that stay the same along a row are taken once per row; every sum is
// formed from the same terms in the same order, so each origin comes out bit for
// bit as pixelRay gives it, without pixelRay's direction and its square root
// per pixel.
class OrthographicOrigins {
public:
    // Takes the camera's transform, view width and viewport as they are now.
    explicit OrthographicOrigins(const Camera& camera);

    // The origins of the rays through columns first … first + count − 1 of row.
    void fillRow(std::int32_t first, std::int32_t row, std::size_t count, Vector3* origins) const;

    // False for a camera without a canvas: every ray starts at the viewport centre.
    bool hasViewport() const { return hasViewportBox; }
    double viewportWidthPx() const { return viewportWidth; }
    std::int32_t viewportCenterX() const { return centerX; }  // pixels
    std::int32_t viewportCenterY() const { return centerY; }  // pixels

private:
    Matrix4 toWorld;             // the camera's camera-to-scene transform
    double fov = 0.0;            // view width, scene units
    double viewportWidth = 0.0;  // pixels
    double inverseWidth = 0.0;   // 1 / viewport width, 1/pixels
    double forwardTerm[3] = {};  // toWorld column 1 times the origins' camera-space y of 0, scene units
    std::int32_t centerX = 0;    // viewport centre, pixels
    std::int32_t centerY = 0;
    bool hasViewportBox = false;
};
