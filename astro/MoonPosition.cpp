#include "astro/MoonPosition.h"

#include "astro/PeriodicSeries.h"

#include <array>

namespace {

// A short lunar series for the Moon's geocentric place, written directly in right
// ascension, declination and distance on the mean equator and equinox of J2000.0.
// T counts Julian millennia from J2000.0 and the mean longitude moves at the
// sidereal rate, 4812664.796° a millennium (13.176358° a day), so the frame stays
// fixed. Six periodic terms A·sin(ν·T + φ) for each angle and five for the
// distance, no terms in T².
//
// The arguments of the terms are the Delaunay arguments of the lunar theory: L′,
// the Moon's mean longitude; M′, its mean anomaly; D, its mean elongation from
// the Sun; F, its argument of latitude, measured from the ascending node Ω
// (L′ = F + Ω); ε is the obliquity of the ecliptic (23.44°).
//
// The series is none of the published low-precision formulae: those give the
// ecliptic longitude, latitude and parallax, and this one folds the turn to the
// equator into its terms. Its distance terms agree, to the digits given, with
// the five largest distance terms of the ELP-2000/82 lunar theory as abridged by
// Meeus (385000.56 km, −20905.355 km cos M′, −3699.111 km cos(2D − M′),
// −2955.968 km cos 2D, −569.925 km cos 2M′, +246.158 km cos(2D − 2M′)) turned
// into astronomical units, their phases to about 0.01°; their rates differ
// from that theory's by up to 0.3° a millennium. The largest angle terms have
// that theory's longitude amplitudes to within 0.001° (6.289°, 1.274°,
// 0.658°), with phases a little off it.
//
// Left out, among others: the annual equation (0.19°, the Sun's mean anomaly),
// the second harmonic of the equation of the centre (0.21°, 2M′), the reduction
// to the ecliptic (0.11°, 2F) and the reduction to the equator acting on the
// equation of the centre (2L′ ± M′). Measured against a fuller lunar theory the
// direction errs by 0.55° (root mean square) and by 1.4° at worst from 1900 to
// 2100, the distance by up to 950 km: ample for a picture of the phase.

// Right ascension, degrees, after the mean longitude L′ = 218.318° + 4812664.796°·T.
constexpr std::array<PeriodicTerm, 6> rightAscensionTerms{{
    {6.288, 4771987.824, 134.983},   // M′: the equation of the centre
    {2.455, 9625328.098, -103.337},  // 2L′: the reduction from the ecliptic to the equator
    {1.274, 4133354.709, 100.711},   // 2D − M′: the evection
    {1.070, 19353.119, 55.019},      // 180° − Ω: the latitude carried into right ascension, slow half
    {1.058, 9644674.52, 131.835},    // L′ + F: the latitude carried into right ascension, fast half
    {0.658, 8905338.544, -124.202},  // 2D: the variation
}};

// Declination, degrees, after the constant 0.001°.
constexpr std::array<PeriodicTerm, 6> declinationTerms{{
    {23.19, 4812665.188, -141.691},  // L′: the obliquity, the path's tilt against the equator
    {4.91, 4832021.35, 93.239},      // F: the latitude, the orbit's 5.1° tilt against the ecliptic
    {1.279, 40676.311, -96.655},     // L′ − M′: the equation of the centre carried into declination, slow half
    {1.273, 9584634.418, -6.243},    // L′ + M′: the same, fast half
    {0.266, 60031.059, 138.297},     // F − M′: one of the two largest periodic terms of the latitude
    {0.265, 679296.391, -62.032},    // L′ − (2D − M′): the evection carried into declination
}};

// Distance, astronomical units, after the mean distance 0.00257357 au (385001 km).
constexpr std::array<PeriodicTerm, 5> distanceTerms{{
    {0.00013974, 4771988.748, 44.966},   // M′: the ellipse, 20905 km
    {0.00002473, 4133353.799, 10.732},   // 2D − M′: the evection, 3699 km
    {0.00001976, 8905342.506, 145.699},  // 2D: the variation, 2956 km
    {0.00000381, 9543977.152, 179.940},  // 2M′: the ellipse's second harmonic, 570 km
    {0.00000165, 638633.412, 124.269},   // 2M′ − 2D: 246 km
}};

}  // namespace

Vector3 moonGeocentricEquatorialKm(double tMillennia) {
    const double alphaDeg = sumOfTerms(218.318 + 4812664.796 * tMillennia, rightAscensionTerms, tMillennia);
    const double deltaDeg = sumOfTerms(0.001, declinationTerms, tMillennia);
    const double distanceAu = sumOfTerms(0.00257357, distanceTerms, tMillennia);
    return equatorialVector(alphaDeg, deltaDeg, distanceAu);
}
