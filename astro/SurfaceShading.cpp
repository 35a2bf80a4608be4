#include "astro/SurfaceShading.h"

#include "astro/PeriodicSeries.h"

#include <cmath>

double surfaceShade(const Vector3& normal, const Vector3& sunDirection) {
    double brightness = normal.x * sunDirection.x + normal.y * sunDirection.y + normal.z * sunDirection.z;
    if (brightness > 0.0) {
        // The square root widens the bright part and softens the fall-off to the terminator.
        brightness = std::sqrt(brightness);
    }
    if (brightness < 0.05) {
        brightness = 0.05;
    }
    return brightness;
}

TexturePoint textureCoordinates(const Vector3& hit, double widthPx, double heightPx) {
    double longitudeDeg = std::atan2(hit.y, hit.x) * degreesPerRadian;
    if (longitudeDeg >= 180.0) {
        longitudeDeg -= 360.0;  // the seam belongs to −180°, the left edge
    }
    const double length = std::sqrt(hit.x * hit.x + hit.y * hit.y + hit.z * hit.z);
    // Rounding can leave |z| a hair above the length, and the centre has no
    // latitude: keep the arc sine's argument in its domain so that no NaN reaches
    // the texture lookup.
    double sine = length > 0.0 ? hit.z / length : 0.0;
    if (sine > 1.0) {
        sine = 1.0;
    } else if (sine < -1.0) {
        sine = -1.0;
    }
    const double latitudeDeg = std::asin(sine) * degreesPerRadian;
    double u = longitudeDeg + 180.0;
    if (u > 360.0) {
        u -= 360.0;
    }
    return {u * 0.002777777777777778 * widthPx, (latitudeDeg * 0.005555555555555556 + 0.5) * heightPx};
}
