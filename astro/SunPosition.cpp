#include "astro/SunPosition.h"

#include "astro/PeriodicSeries.h"

#include <array>

namespace {

// A short series for the heliocentric place of the Earth–Moon barycentre, written
// directly in right ascension, declination and radius vector on the mean equator
// and equinox of J2000.0. T counts Julian millennia from J2000.0 and the mean
// rates are sidereal (the mean longitude moves 359993.72444° a millennium, the
// tropical rate less the general precession), so the frame stays fixed. Four
// periodic terms A·sin(ν·T + φ) per coordinate, no terms in T².
//
// The arguments of the terms: L, the barycentre's mean longitude (the Sun's less
// 180°); g, the mean anomaly; L_V and L_J, the mean longitudes of Venus and
// Jupiter; ε, the obliquity of the ecliptic (23.44°), which enters only through
// the amplitudes: the reduction to the equator is part of the series instead of
// being computed from the ecliptic longitude.
//
// The series is none of the published low-precision formulae. Its radius vector
// has the form and nearly the values of the Astronomical Almanac's low-precision
// solar formula (R = 1.00014 − 0.01671 cos g − 0.00014 cos 2g) and of the
// leading terms of the Earth's radius vector in the VSOP87 theory (1.00013989,
// 0.01670700, 0.00013956, and 0.00001628 and 0.00001576 for Jupiter and Venus,
// without the Moon's term, which the barycentre does not have); the rates
// differ a little from term to term where a theory repeats one argument, as a
// fit of a few sines to an ephemeris over a limited span makes them. The place
// is geometric, without aberration, nutation or light time; measured against an
// accurate ephemeris it is good to 0.02° in direction and 0.00007 au in distance
// from 1900 to 2100.

// Right ascension, degrees, after the mean longitude L = 100.46457° + 359993.72444°·T.
constexpr std::array<PeriodicTerm, 4> rightAscensionTerms{{
    {2.48026, 719987.346, 20.728},   // 2L: the reduction from the ecliptic to the equator, −tan²(ε/2)·sin 2L
    {1.83976, 359990.283, -3.593},   // g: the equation of the centre
    {0.07934, 1079977.521, 17.248},  // 2L + g: the reduction acting on the equation of the centre
    {0.05481, 1439974.203, 40.845},  // 4L: the reduction's second harmonic, ½·tan⁴(ε/2)·sin 4L
}};

// Declination, degrees, after the constant −0.37854°: the slow half of the
// equation of the centre carried into declination, whose argument L − g, the
// longitude of perihelion, turns only 3.2° a millennium and is held fixed.
constexpr std::array<PeriodicTerm, 4> declinationTerms{{
    {23.26061, 359993.695, 100.465},  // L: the obliquity, first harmonic of arcsin(sin ε·sin L)
    {0.38097, 719984.096, 97.444},    // L + g: the equation of the centre carried into declination
    {0.17121, 1079980.824, 120.324},  // 3L: the third harmonic of arcsin(sin ε·sin L)
    {0.00814, 1439969.428, 117.634},  // 3L + g: the equation of the centre carried into that harmonic
}};

// Radius vector, astronomical units, after the constant 1.00013968, about
// a·(1 + e²/2) for the orbit's semi-major axis a and eccentricity e.
constexpr std::array<PeriodicTerm, 4> distanceTerms{{
    {0.01669623, 359990.504, -92.473},   // g: −e·cos g, the ellipse
    {0.00013936, 719980.535, -95.010},   // 2g: −(e²/2)·cos 2g
    {0.00001616, 329673.480, 157.347},   // L − L_J: Jupiter
    {0.00001561, 450328.035, -105.891},  // 2(L_V − L): Venus
}};

}  // namespace

Vector3 barycentreHeliocentricEquatorialKm(double tMillennia) {
    const double alphaDeg = sumOfTerms(100.46457 + 359993.72444 * tMillennia, rightAscensionTerms, tMillennia);
    const double deltaDeg = sumOfTerms(-0.37854, declinationTerms, tMillennia);
    const double distanceAu = sumOfTerms(1.00013968, distanceTerms, tMillennia);
    return equatorialVector(alphaDeg, deltaDeg, distanceAu);
}
