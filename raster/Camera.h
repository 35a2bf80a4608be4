#pragma once

#include "raster/Matrix4.h"
#include "raster/Vector3.h"

#include <cstdint>

class Canvas;

// How a camera turns a viewport position into a ray.
enum Projection : std::int32_t {
    ProjectionPerspective = 0,
    ProjectionFisheye = 1,  // equidistant
    ProjectionOrthographic = 2,
};

// The part of its canvas a camera sees: the whole canvas, or the clip shape's
// box when the canvas has one. Pixels are square, so both axes are divided by
// the width.
struct CameraViewport {
    bool bound = false;         // false without a canvas: every pixel maps to the centre
    double widthPx = 0.0;
    double inverseWidth = 0.0;  // 1 / widthPx, 1/pixels
    std::int32_t centerX = 0;   // pixels
    std::int32_t centerY = 0;   // pixels
};

// A camera bound to a canvas that turns canvas pixels into viewing rays. It looks
// along its own +y axis; canvas x maps to camera +x and canvas y to camera +z.
struct Camera {
    const Canvas* canvas = nullptr;  // not owned; its size and clip shape are the viewport
    double fov = 0.0;  // perspective and fisheye: horizontal field of view, radians; orthographic: view width, scene units
    Matrix4 toWorld;   // camera to scene: columns 0, 1, 2 the camera axes, column 3 its position
    Matrix4 toCamera;  // the inverse of toWorld
    std::int32_t projection = ProjectionPerspective;

    // Turns the camera about its own axes so that +y points at the target while
    // its x axis stays in the plane of its previous x and y axes. A target at the
    // camera's own position leaves the camera as it is.
    void lookAt(const Vector3& target);
    // The ray through canvas pixel (x, y): its origin and unit direction in scene
    // coordinates. Always 1. Without a canvas every pixel maps to the viewport
    // centre; a projection other than the three known ones looks straight along
    // the forward axis from the camera's position.
    std::int32_t pixelRay(double x, double y, Vector3& origin, Vector3& direction) const;
    // The viewport pixelRay maps, as the canvas is now.
    CameraViewport viewport() const;
};
