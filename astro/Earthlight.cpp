#include "astro/Earthlight.h"

#include "raster/Angles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double earthPhaseAngleDeg(const Vector3& earthKm, const Vector3& moonKm) {
    const Vector3 sunFromEarth = -earthKm;
    const Vector3 moonFromEarth = moonKm - earthKm;
    const double lengths = length(sunFromEarth) * length(moonFromEarth);
    if (!(lengths > 0.0)) {
        return 180.0;  // no direction to either: a new Earth, which gives no light
    }
    const double cosine = std::clamp(dot(sunFromEarth, moonFromEarth) / lengths, -1.0, 1.0);
    return std::acos(cosine) * degreesPerRadian;
}

double earthlightShade(double earthPhaseAngleDeg) {
    const double alphaRad = earthPhaseAngleDeg * radiansPerDegree;
    const double phase = (std::sin(alphaRad) + (std::numbers::pi - alphaRad) * std::cos(alphaRad)) / std::numbers::pi;
    // Rounding leaves a hair below 0 at a new Earth.
    return earthlightGain * std::max(phase, 0.0);
}
