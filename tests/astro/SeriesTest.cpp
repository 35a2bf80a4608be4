#include "astro/GlobeBody.h"
#include "astro/MoonPosition.h"
#include "astro/SunPosition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

constexpr double degreesPerRadian = 57.29577951308232;

struct SphericalPlace {
    double rightAscensionDeg;
    double declinationDeg;
    double distanceKm;
};

SphericalPlace spherical(const Vector3& v) {
    const double distance = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    double alpha = std::atan2(v.y, v.x) * degreesPerRadian;
    if (alpha < 0.0) {
        alpha += 360.0;
    }
    return {alpha, std::asin(v.z / distance) * degreesPerRadian, distance};
}

struct SeriesCase {
    double tMillennia;
    SphericalPlace expected;
};

// Places worked out by hand from the series at three moments: J2000.0, 2025 and
// 1900. The tolerances are one unit of the last digit given: 1e-4° and 0.5 km
// (the series itself is good to a few hundredths of a degree).
constexpr double angleToleranceDeg = 1e-4;
constexpr double distanceToleranceKm = 0.5;

TEST(BarycentreSeries, MatchesWorkedValues) {
    constexpr SeriesCase cases[] = {
        {0.0, {101.2865, 23.0279, 147101289.0}},
        {0.025, {101.1078, 23.0406, 147104886.0}},
        {-0.1, {102.0010, 22.9753, 147097717.0}},
    };
    for (const SeriesCase& c : cases) {
        GlobeBody body;
        barycentrePosition(body, c.tMillennia);
        const SphericalPlace place = spherical(body.position);
        EXPECT_NEAR(place.rightAscensionDeg, c.expected.rightAscensionDeg, angleToleranceDeg) << c.tMillennia;
        EXPECT_NEAR(place.declinationDeg, c.expected.declinationDeg, angleToleranceDeg) << c.tMillennia;
        EXPECT_NEAR(place.distanceKm, c.expected.distanceKm, distanceToleranceKm) << c.tMillennia;
    }
}

TEST(BarycentreSeries, GivesTheCartesianVectorAtJ2000) {
    GlobeBody body;
    body.radiusKm = 6371.0;
    barycentrePosition(body, 0.0);
    EXPECT_NEAR(body.position.x, -26495774.0, 1.0);
    EXPECT_NEAR(body.position.y, 132761311.0, 1.0);
    EXPECT_NEAR(body.position.z, 57543007.0, 1.0);
    EXPECT_EQ(body.radiusKm, 6371.0);
    EXPECT_EQ(body.rotation.m[0], 1.0);
}

TEST(MoonSeries, MatchesWorkedValues) {
    // The Moon's distance is quoted to the kilometre: tolerance 0.5 km.
    constexpr SeriesCase cases[] = {
        {0.0, {222.7494, -10.9383, 402333.0}},
        {0.025, {292.8443, -26.6772, 382583.0}},
        {-0.1, {267.0323, -22.4078, 370673.0}},
    };
    for (const SeriesCase& c : cases) {
        GlobeBody body;
        moonGeocentricPosition(body, c.tMillennia);
        const SphericalPlace place = spherical(body.position);
        EXPECT_NEAR(place.rightAscensionDeg, c.expected.rightAscensionDeg, angleToleranceDeg) << c.tMillennia;
        EXPECT_NEAR(place.declinationDeg, c.expected.declinationDeg, angleToleranceDeg) << c.tMillennia;
        EXPECT_NEAR(place.distanceKm, c.expected.distanceKm, distanceToleranceKm) << c.tMillennia;
    }
    GlobeBody body;
    moonGeocentricPosition(body, 0.0);
    EXPECT_NEAR(body.position.x, -290078.0, 1.0);
    EXPECT_NEAR(body.position.y, -268139.0, 1.0);
    EXPECT_NEAR(body.position.z, -76343.0, 1.0);
}

TEST(Series, StayWithinTheirRangesFrom1900To2100) {
    // Sampled every 0.37 days over two centuries: the orbits' known bounds.
    for (double t = -0.1; t <= 0.1; t += 1.0e-6) {
        GlobeBody sun;
        barycentrePosition(sun, t);
        const SphericalPlace s = spherical(sun.position);
        ASSERT_GT(s.distanceKm, 147.08e6);
        ASSERT_LT(s.distanceKm, 152.12e6);
        ASSERT_LT(std::fabs(s.declinationDeg), 23.45);
        GlobeBody moon;
        moonGeocentricPosition(moon, t);
        const SphericalPlace m = spherical(moon.position);
        ASSERT_GT(m.distanceKm, 357000.0);
        ASSERT_LT(m.distanceKm, 406500.0);
        ASSERT_LT(std::fabs(m.declinationDeg), 28.65);
    }
}

TEST(Series, DependOnTimeAlone) {
    GlobeBody first;
    GlobeBody second;
    second.position = {1.0, 2.0, 3.0};
    barycentrePosition(first, 0.0123);
    barycentrePosition(second, 0.0123);
    EXPECT_EQ(std::memcmp(&first.position, &second.position, sizeof(Vector3)), 0);
    moonGeocentricPosition(first, 0.0123);
    moonGeocentricPosition(second, 0.0123);
    EXPECT_EQ(std::memcmp(&first.position, &second.position, sizeof(Vector3)), 0);
}

}  // namespace
