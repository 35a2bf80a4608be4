#pragma once

#include "raster/Angles.h"
#include "raster/Vector3.h"

#include <cmath>
#include <span>

// One term A · sin(ν·T + φ) of a short trigonometric series in T, Julian
// millennia since J2000.0.
struct PeriodicTerm {
    double amplitude;     // degrees for angles, astronomical units for distances
    double rateDeg;       // ν, degrees per Julian millennium
    double phaseDeg;      // φ, degrees
};

// Kilometres per astronomical unit.
inline constexpr double kilometresPerAu = 149597870.7;

// base plus the terms, added in table order.
inline double sumOfTerms(double base, std::span<const PeriodicTerm> terms, double tMillennia) {
    double sum = base;
    for (const PeriodicTerm& term : terms) {
        sum = sum + term.amplitude * std::sin((term.rateDeg * tMillennia + term.phaseDeg) * radiansPerDegree);
    }
    return sum;
}

// The equatorial vector, km, of a right ascension and declination in degrees and a
// distance in astronomical units.
inline Vector3 equatorialVector(double rightAscensionDeg, double declinationDeg, double distanceAu) {
    const double alphaRad = rightAscensionDeg * radiansPerDegree;
    const double deltaRad = declinationDeg * radiansPerDegree;
    const double distanceKm = distanceAu * kilometresPerAu;
    return {std::cos(alphaRad) * distanceKm * std::cos(deltaRad),
            std::sin(alphaRad) * distanceKm * std::cos(deltaRad),
            std::sin(deltaRad) * distanceKm};
}
