#pragma once

#include "astro/Lanes.h"
#include "raster/Angles.h"
#include "raster/Vector3.h"

#include <cmath>

// These functions run once per pixel of a globe, so they are defined here, where
// the tracing loop can inline them.

// Continuous pixel coordinates in an equirectangular texture.
struct TexturePoint {
    double x = 0.0;  // 0 at longitude −180°, the width at +180°
    double y = 0.0;  // 0 at the south pole, the height at the north pole
};

// The brightness 0.05 … 1 of a surface with the unit outward normal under the unit
// Sun direction (both in the body frame): the square root of the cosine of the
// Sun's zenith angle, never below the floor 0.05 that keeps the night side faintly
// visible.
inline double surfaceShade(const Vector3& normal, const Vector3& sunDirection) {
    double brightness = dot(normal, sunDirection);
    if (brightness > 0.0) {
        // The square root widens the bright part and softens the fall-off to the terminator.
        brightness = std::sqrt(brightness);
    }
    if (brightness < 0.05) {
        brightness = 0.05;
    }
    return brightness;
}

// surfaceShade for the normals in lanes 0 and 1.
inline Lanes surfaceShadeLanes(const Vector3Lanes& normal, const Vector3& sunDirection) {
    Lanes brightness = normal.x * bothLanes(sunDirection.x) + normal.y * bothLanes(sunDirection.y) +
                       normal.z * bothLanes(sunDirection.z);
    brightness = select(brightness > bothLanes(0.0), sqrt(brightness), brightness);
    return select(brightness < bothLanes(0.05), bothLanes(0.05), brightness);
}

// Where a body-frame surface point falls in an equirectangular texture of
// widthPx × heightPx pixels, given the sine of its latitude, hit.z / |hit| (0 for
// the centre, which has no latitude): longitude −180° at x = 0, east to the
// right, the south pole at y = 0.
inline TexturePoint textureCoordinatesOfSine(const Vector3& hit, double sineLatitude, double widthPx,
                                             double heightPx) {
    double longitudeDeg = std::atan2(hit.y, hit.x) * degreesPerRadian;
    if (longitudeDeg >= 180.0) {
        longitudeDeg -= 360.0;  // the seam belongs to −180°, the left edge
    }
    // Rounding can leave |z| a hair above the length: keep the arc sine's
    // argument in its domain so that no NaN reaches the texture lookup.
    if (sineLatitude > 1.0) {
        sineLatitude = 1.0;
    } else if (sineLatitude < -1.0) {
        sineLatitude = -1.0;
    }
    const double latitudeDeg = std::asin(sineLatitude) * degreesPerRadian;
    double u = longitudeDeg + 180.0;
    if (u > 360.0) {
        u -= 360.0;
    }
    return {u * 0.002777777777777778 * widthPx, (latitudeDeg * 0.005555555555555556 + 0.5) * heightPx};
}

// textureCoordinatesOfSine for any body-frame point.
inline TexturePoint textureCoordinates(const Vector3& hit, double widthPx, double heightPx) {
    const double lengthKm = length(hit);
    return textureCoordinatesOfSine(hit, lengthKm > 0.0 ? hit.z / lengthKm : 0.0, widthPx, heightPx);
}
