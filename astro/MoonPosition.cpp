#include "astro/MoonPosition.h"

#include "astro/PeriodicSeries.h"

#include <array>

namespace {

// A short lunar series in right ascension, declination and distance on the mean
// equator of J2000.0, with the sidereal mean motion: the equation of the centre,
// evection, variation and the annual equation and their companions. No
// time-squared terms.

// Right ascension, degrees.
constexpr std::array<PeriodicTerm, 6> rightAscensionTerms{{
    {6.288, 4771987.824, 134.983},
    {2.455, 9625328.098, -103.337},
    {1.274, 4133354.709, 100.711},
    {1.070, 19353.119, 55.019},
    {1.058, 9644674.52, 131.835},
    {0.658, 8905338.544, -124.202},
}};

// Declination, degrees; the first term carries the tilt of the orbit against the equator.
constexpr std::array<PeriodicTerm, 6> declinationTerms{{
    {23.19, 4812665.188, -141.691},
    {4.91, 4832021.35, 93.239},
    {1.279, 40676.311, -96.655},
    {1.273, 9584634.418, -6.243},
    {0.266, 60031.059, 138.297},
    {0.265, 679296.391, -62.032},
}};

// Distance, astronomical units.
constexpr std::array<PeriodicTerm, 5> distanceTerms{{
    {0.00013974, 4771988.748, 44.966},
    {0.00002473, 4133353.799, 10.732},
    {0.00001976, 8905342.506, 145.699},
    {0.00000381, 9543977.152, 179.940},
    {0.00000165, 638633.412, 124.269},
}};

}  // namespace

Vector3 moonGeocentricEquatorialKm(double tMillennia) {
    const double alphaDeg = sumOfTerms(218.318 + 4812664.796 * tMillennia, rightAscensionTerms, tMillennia);
    const double deltaDeg = sumOfTerms(0.001, declinationTerms, tMillennia);
    const double distanceAu = sumOfTerms(0.00257357, distanceTerms, tMillennia);
    return equatorialVector(alphaDeg, deltaDeg, distanceAu);
}
