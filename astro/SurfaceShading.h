#pragma once

#include "raster/Vector3.h"

// Continuous pixel coordinates in an equirectangular texture.
struct TexturePoint {
    double x = 0.0;  // 0 at longitude −180°, the width at +180°
    double y = 0.0;  // 0 at the south pole, the height at the north pole
};

// The brightness 0.05 … 1 of a surface with the unit outward normal under the unit
// Sun direction (both in the body frame): the square root of the cosine of the
// Sun's zenith angle, never below the floor 0.05 that keeps the night side faintly
// visible.
double surfaceShade(const Vector3& normal, const Vector3& sunDirection);

// Where a body-frame surface point falls in an equirectangular texture of
// widthPx × heightPx pixels: longitude −180° at x = 0, east to the right, the
// south pole at y = 0.
TexturePoint textureCoordinates(const Vector3& hit, double widthPx, double heightPx);
