#include "astro/SunPosition.h"

#include "astro/PeriodicSeries.h"

#include <array>

namespace {

// A short series for the Sun's apparent place, turned around to give the
// barycentre as seen from the Sun: right ascension and declination on the mean
// equator of J2000.0 with sidereal mean rates, and the radius vector. Four
// periodic terms per coordinate; no nutation, aberration or light time.

// Right ascension, degrees: mean longitude, the reduction to the equator at twice
// its rate, the equation of the centre and their harmonics.
constexpr std::array<PeriodicTerm, 4> rightAscensionTerms{{
    {2.48026, 719987.346, 20.728},
    {1.83976, 359990.283, -3.593},
    {0.07934, 1079977.521, 17.248},
    {0.05481, 1439974.203, 40.845},
}};

// Declination, degrees.
constexpr std::array<PeriodicTerm, 4> declinationTerms{{
    {23.26061, 359993.695, 100.465},
    {0.38097, 719984.096, 97.444},
    {0.17121, 1079980.824, 120.324},
    {0.00814, 1439969.428, 117.634},
}};

// Radius vector, astronomical units.
constexpr std::array<PeriodicTerm, 4> distanceTerms{{
    {0.01669623, 359990.504, -92.473},
    {0.00013936, 719980.535, -95.010},
    {0.00001616, 329673.480, 157.347},
    {0.00001561, 450328.035, -105.891},
}};

}  // namespace

Vector3 barycentreHeliocentricEquatorialKm(double tMillennia) {
    const double alphaDeg = sumOfTerms(100.46457 + 359993.72444 * tMillennia, rightAscensionTerms, tMillennia);
    const double deltaDeg = sumOfTerms(-0.37854, declinationTerms, tMillennia);
    const double distanceAu = sumOfTerms(1.00013968, distanceTerms, tMillennia);
    return equatorialVector(alphaDeg, deltaDeg, distanceAu);
}
