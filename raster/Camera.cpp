#include "raster/Camera.h"

#include "raster/Angles.h"
#include "raster/Canvas.h"

#include <cmath>

void Camera::lookAt(const Vector3& target) {
    const Vector3 p = transformPoint(toCamera, target);
    const double distance = length(p);
    // A target at the camera's own position gives no direction to look in.
    if (distance == 0.0) {
        return;
    }
    // Turn about z to the target's azimuth: +y, not +x, is the forward axis.
    const double azimuthRad = (std::atan2(p.y, p.x) * degreesPerRadian - 90.0) * radiansPerDegree;
    Matrix4 turn;
    rotation(azimuthRad, 0, 0, 1, turn);
    multiply(toWorld, turn, toWorld);
    inverse(toWorld, toCamera);
    // Then raise the forward axis by the target's elevation about the new x axis.
    const double elevationRad = std::asin(p.z / distance) * degreesPerRadian * radiansPerDegree;
    rotation(elevationRad, 1, 0, 0, turn);
    multiply(toWorld, turn, toWorld);
    inverse(toWorld, toCamera);
}

CameraViewport Camera::viewport() const {
    CameraViewport view;
    if (canvas == nullptr) {
        return view;
    }
    const bool wholeCanvas = canvas->clipShape == ClipNone;
    view.bound = true;
    view.widthPx = wholeCanvas ? canvas->width : 2.0 * canvas->clipHalfWidth;
    view.inverseWidth = 1.0 / view.widthPx;
    view.centerX = wholeCanvas ? canvas->width / 2 : canvas->clipCenterX;
    view.centerY = wholeCanvas ? canvas->height / 2 : canvas->clipCenterY;
    return view;
}

std::int32_t Camera::pixelRay(double x, double y, Vector3& origin, Vector3& direction) const {
    // Normalised viewport coordinates; without a canvas every pixel is the centre.
    double sx = 0.0;
    double sy = 0.0;
    if (const CameraViewport view = viewport(); view.bound) {
        sx = (x - view.centerX) * view.inverseWidth;
        sy = (y - view.centerY) * view.inverseWidth;
    }

    Vector3 start;
    if (projection == ProjectionOrthographic) {
        start = {fov * sx, 0.0, fov * sy};
    }
    origin = transformPoint(toWorld, start);

    Vector3 d{0.0, 1.0, 0.0};
    if (projection == ProjectionPerspective) {
        const double f = std::tan(fov * 0.5) * 2.0;
        d = {f * sx, 1.0, f * sy};
    } else if (projection == ProjectionFisheye) {
        // Equidistant: the angle from the forward axis grows linearly with the
        // distance from the viewport centre.
        const double theta = std::sqrt(sx * sx + sy * sy) * fov;
        const double phi = std::atan2(sy, sx);
        d = {std::cos(phi) * std::sin(theta), std::cos(theta), std::sin(phi) * std::sin(theta)};
    }
    direction = transformVector(toWorld, d);
    const double directionLength = length(direction);
    if (directionLength != 0.0) {
        direction = direction * (1.0 / directionLength);
    }
    return 1;
}
