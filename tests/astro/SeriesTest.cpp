#include "astro/MoonPosition.h"
#include "astro/SunPosition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

constexpr double degreesPerRadian = 57.29577951308232;

struct SphericalPlace {
    double rightAscensionDeg;
    double declinationDeg;
    double distanceKm;
};

SphericalPlace spherical(const Vector3& v) {
    const double distance = length(v);
    double alpha = std::atan2(v.y, v.x) * degreesPerRadian;
    if (alpha < 0.0) {
        alpha += 360.0;
    }
    return {alpha, std::asin(v.z / distance) * degreesPerRadian, distance};
}

// Places worked out by hand from the series at three moments: J2000.0, 2025 and
// 1900, with the Cartesian vector at J2000.0. The tolerances are one unit of the
// last digit given: 1e-4° and 0.5 km (the series itself is good to a few
// hundredths of a degree), 1 km for the vector.
TEST(Series, MatchWorkedValues) {
    constexpr double angleToleranceDeg = 1e-4;
    constexpr double distanceToleranceKm = 0.5;
    struct Case {
        const char* body;
        Vector3 (*series)(double);
        double tMillennia;
        SphericalPlace expected;
    };
    const Case cases[] = {
        {"barycentre", barycentreHeliocentricEquatorialKm, 0.0, {101.2865, 23.0279, 147101289.0}},
        {"barycentre", barycentreHeliocentricEquatorialKm, 0.025, {101.1078, 23.0406, 147104886.0}},
        {"barycentre", barycentreHeliocentricEquatorialKm, -0.1, {102.0010, 22.9753, 147097717.0}},
        {"moon", moonGeocentricEquatorialKm, 0.0, {222.7494, -10.9383, 402333.0}},
        {"moon", moonGeocentricEquatorialKm, 0.025, {292.8443, -26.6772, 382583.0}},
        {"moon", moonGeocentricEquatorialKm, -0.1, {267.0323, -22.4078, 370673.0}},
    };
    for (const Case& c : cases) {
        const SphericalPlace place = spherical(c.series(c.tMillennia));
        EXPECT_NEAR(place.rightAscensionDeg, c.expected.rightAscensionDeg, angleToleranceDeg) << c.body << c.tMillennia;
        EXPECT_NEAR(place.declinationDeg, c.expected.declinationDeg, angleToleranceDeg) << c.body << c.tMillennia;
        EXPECT_NEAR(place.distanceKm, c.expected.distanceKm, distanceToleranceKm) << c.body << c.tMillennia;
    }
    const std::pair<Vector3 (*)(double), Vector3> vectors[] = {
        {barycentreHeliocentricEquatorialKm, {-26495774.0, 132761311.0, 57543007.0}},
        {moonGeocentricEquatorialKm, {-290078.0, -268139.0, -76343.0}},
    };
    for (const auto& [series, expected] : vectors) {
        const Vector3 v = series(0.0);
        EXPECT_NEAR(v.x, expected.x, 1.0);
        EXPECT_NEAR(v.y, expected.y, 1.0);
        EXPECT_NEAR(v.z, expected.z, 1.0);
    }
}

TEST(Series, StayWithinTheirRangesFrom1900To2100) {
    // Sampled every 0.37 days over two centuries: the orbits' known bounds.
    for (double t = -0.1; t <= 0.1; t += 1.0e-6) {
        const SphericalPlace s = spherical(barycentreHeliocentricEquatorialKm(t));
        ASSERT_GT(s.distanceKm, 147.08e6);
        ASSERT_LT(s.distanceKm, 152.12e6);
        ASSERT_LT(std::fabs(s.declinationDeg), 23.45);
        const SphericalPlace m = spherical(moonGeocentricEquatorialKm(t));
        ASSERT_GT(m.distanceKm, 357000.0);
        ASSERT_LT(m.distanceKm, 406500.0);
        ASSERT_LT(std::fabs(m.declinationDeg), 28.65);
    }
}

}  // namespace
