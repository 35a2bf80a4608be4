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
// visible. Number is a double for one pixel, Lanes for two.
template <typename Number>
Number surfaceShadeOf(const Vector3Of<Number>& normal, const Vector3& sunDirection) {
    using std::sqrt;
    const Number floor = everyLane<Number>(0.05);
    const Number brightness = normal.x * everyLane<Number>(sunDirection.x) +
                              normal.y * everyLane<Number>(sunDirection.y) +
                              normal.z * everyLane<Number>(sunDirection.z);
    // The square root widens the bright part and softens the fall-off to the terminator.
    const Number widened = select(brightness > everyLane<Number>(0.0), sqrt(brightness), brightness);
    return select(widened < floor, floor, widened);
}

inline double surfaceShade(const Vector3& normal, const Vector3& sunDirection) {
    return surfaceShadeOf<double>({normal.x, normal.y, normal.z}, sunDirection);
}

// surfaceShadeOf with the night side lit as well by a second, faint light from
// the unit direction earthDirection (body frame): the Earth's light on the Moon.
// earthlight is the brightness it gives a surface facing it squarely, on the
// same 0 … 1 scale; it falls off as the square root of the cosine of its
// incidence, as the Sun's light does. Where the Sun is above the horizon the
// result is surfaceShadeOf's, bit for bit. Below it, toward the terminator, the
// night side is never brighter than the day side at the same angle from the
// terminator, so that the picture passes through the floor there instead of
// leaving a band at the floor between the day side and the earthlit night.
template <typename Number>
Number earthlitShadeOf(const Vector3Of<Number>& normal, const Vector3& sunDirection, const Vector3& earthDirection,
                       double earthlight) {
    using std::sqrt;
    const Number zero = everyLane<Number>(0.0);
    const Number sunShade = surfaceShadeOf(normal, sunDirection);
    const Number sunCosine = normal.x * everyLane<Number>(sunDirection.x) +
                             normal.y * everyLane<Number>(sunDirection.y) +
                             normal.z * everyLane<Number>(sunDirection.z);
    const Number earthCosine = normal.x * everyLane<Number>(earthDirection.x) +
                               normal.y * everyLane<Number>(earthDirection.y) +
                               normal.z * everyLane<Number>(earthDirection.z);
    const Number glow = everyLane<Number>(earthlight) * sqrt(select(earthCosine > zero, earthCosine, zero));
    const Number mirrored = sqrt(select(sunCosine < zero, -sunCosine, zero));  // the day side's shade that far up
    const Number night = select(glow < mirrored, glow, mirrored);
    return select(sunCosine > zero, sunShade, select(night > sunShade, night, sunShade));
}

// The unit outward normal at a body-frame surface point, and the sine of the
// point's latitude, hit.z / |hit|: the point itself and a sine of 0 for the
// centre, which has neither.
template <typename Number>
struct SurfaceNormal {
    Vector3Of<Number> normal;
    Number sineLatitude;
};

template <typename Number>
SurfaceNormal<Number> surfaceNormal(const Vector3Of<Number>& hit) {
    using std::sqrt;
    const Number zero = everyLane<Number>(0.0);
    const Number lengthKm = sqrt(hit.x * hit.x + hit.y * hit.y + hit.z * hit.z);
    const auto nonZero = lengthKm != zero;
    const Number nz = select(nonZero, hit.z / lengthKm, hit.z);
    return {{select(nonZero, hit.x / lengthKm, hit.x), select(nonZero, hit.y / lengthKm, hit.y), nz},
            select(lengthKm > zero, nz, zero)};
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
    const double sineLatitude = surfaceNormal<double>({hit.x, hit.y, hit.z}).sineLatitude;
    return textureCoordinatesOfSine(hit, sineLatitude, widthPx, heightPx);
}
