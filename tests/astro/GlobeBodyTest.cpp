#include "astro/GlobeBody.h"
#include "astro/RotationModel.h"
#include "astro/Scene.h"
#include "astro/SurfaceShading.h"
#include "tests/astro/SceneAtJ2000.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

namespace {

struct OrientationCase {
    double primeMeridianDeg;
    double poleRightAscensionDeg;
    double poleDeclinationDeg;
    double expected[9];
};

// Frame rotations worked by hand: Rz(W)·Rx(90° − δ0)·Rz(90° + α0).
constexpr double h = 0.8660254037844386;  // cos 30°
const OrientationCase orientationCases[] = {
    {0.0, 0.0, 90.0, {0, 1, 0, -1, 0, 0, 0, 0, 1}},
    {30.0, 0.0, 90.0, {-0.5, h, 0, -h, -0.5, 0, 0, 0, 1}},
    {0.0, 0.0, 60.0, {0, 1, 0, -h, 0, 0.5, 0.5, 0, h}},
    {190.147, 0.0, 90.0,
     {std::cos(4.889487539584555), std::sin(4.889487539584555), 0, -std::sin(4.889487539584555), std::cos(4.889487539584555), 0, 0, 0, 1}},
};

TEST(Orientation, BuildsTheFrameRotationAndItsInverse) {
    for (const OrientationCase& c : orientationCases) {
        GlobeBody body;
        body.position = {1.0, 2.0, 3.0};
        body.radiusKm = 5.0;
        setOrientation(body, c.primeMeridianDeg, c.poleRightAscensionDeg, c.poleDeclinationDeg);
        for (int i = 0; i < 9; ++i) {
            // 1e-9: the rounding of the 280.147° of the last case to radians above.
            EXPECT_NEAR(body.rotation.m[i], c.expected[i], 1e-9) << c.primeMeridianDeg << " element " << i;
        }
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                // A rotation's inverse is its transpose, to rounding.
                EXPECT_NEAR(body.inverseRotation.at(row, column), body.rotation.at(column, row), 1e-15);
            }
        }
        EXPECT_EQ(body.position.z, 3.0);
        EXPECT_EQ(body.radiusKm, 5.0);
    }
}

TEST(Orientation, EarthAndMoonElementsAtJ2000) {
    const RotationElements earth = earthOrientation(0.0);
    EXPECT_EQ(earth.primeMeridianDeg, 190.147);
    EXPECT_EQ(earth.poleRightAscensionDeg, 0.0);
    EXPECT_EQ(earth.poleDeclinationDeg, 90.0);
    // One day later the prime meridian has turned 360.9856235°.
    EXPECT_NEAR(earthOrientation(1.0 / 365250.0).primeMeridianDeg - 190.147, 360.9856235, 1e-7);
    const RotationElements moon = moonOrientation(0.0);
    EXPECT_NEAR(moon.primeMeridianDeg, 41.2367, 5e-5);
    EXPECT_NEAR(moon.poleRightAscensionDeg, 266.8194, 5e-5);
    EXPECT_NEAR(moon.poleDeclinationDeg, 65.6538, 5e-5);
}

TEST(Scene, PutsTheEarthOffTheBarycentreAndTheMoonBesideIt) {
    const globetest::SceneAtJ2000 scene;
    const GlobeBody& earth = scene.earth;
    const GlobeBody& moon = scene.moon;
    // Barycentre minus 0.01215… of the Moon vector (−290078, −268139, −76343) km.
    EXPECT_NEAR(earth.position.x, -26495774.0 + 3524.6, 1.0);
    EXPECT_NEAR(earth.position.y, 132761311.0 + 3258.1, 1.0);
    EXPECT_NEAR(earth.position.z, 57543007.0 + 927.6, 1.0);
    EXPECT_NEAR(moon.position.x - earth.position.x, -290078.0, 1.0);
    EXPECT_NEAR(moon.position.z - earth.position.z, -76343.0, 1.0);
    EXPECT_EQ(earth.radiusKm, 6371.0);
    // The Greenwich meridian at right ascension 280.147°.
    EXPECT_NEAR(std::atan2(earth.rotation.at(0, 1), earth.rotation.at(0, 0)) * 57.29577951308232 + 360.0,
                280.147, 1e-9);
    EXPECT_NEAR(moon.rotation.at(2, 2), std::sin(65.6538 * 0.017453292519943295), 1e-6);
}

GlobeBody bodyAt(double x, double radiusKm) {
    GlobeBody body;
    body.position = {x, 0.0, 0.0};
    body.radiusKm = radiusKm;
    return body;
}

// The Earth-sized bodies the checks of rows of rays aim at: one far off and
// turned, one near and as it was made.
struct RayTargets {
    GlobeBody far = bodyAt(1.5e8, 6371.0);
    GlobeBody near = bodyAt(1.0e5, 6371.0);
    RayTargets() { setOrientation(far, 41.2, 266.8, 65.7); }
};

TEST(RayIntersection, HitsAFarBodyAtTheNearSurface) {
    const GlobeBody earth = bodyAt(1.5e8, 6371.0);
    Vector3 hit;
    EXPECT_DOUBLE_EQ(intersectRay(earth, {0, 0, 0}, {1, 0, 0}, &hit), 149993629.0);
    EXPECT_DOUBLE_EQ(hit.x, -6371.0);
    EXPECT_EQ(hit.y, 0.0);
    EXPECT_EQ(hit.z, 0.0);
    // The body frame is the rotated one: a frame turned by 90° about z sees the
    // near point on its +y axis.
    GlobeBody turned = earth;
    setOrientation(turned, 0.0, 0.0, 90.0);
    ASSERT_GT(intersectRay(turned, {0, 0, 0}, {1, 0, 0}, &hit), 0.0);
    EXPECT_NEAR(hit.x, 0.0, 1e-9);
    EXPECT_NEAR(hit.y, 6371.0, 1e-6);
}

TEST(RayIntersection, MissesGrazesAndLooksAway) {
    const GlobeBody earth = bodyAt(1.0e5, 6371.0);
    Vector3 hit{9, 9, 9};
    // Passing 7000 km from the centre: a miss that still reports the closest point.
    EXPECT_EQ(intersectRay(earth, {0, 7000, 0}, {1, 0, 0}, &hit), noSurfaceKm);
    EXPECT_NEAR(hit.x, 0.0, 1e-9);
    EXPECT_NEAR(hit.y, 7000.0, 1e-9);
    // Exactly tangent: the distance to the tangent point.
    EXPECT_NEAR(intersectRay(earth, {0, 6371, 0}, {1, 0, 0}, &hit), 1.0e5, 1e-6);
    EXPECT_NEAR(hit.y, 6371.0, 1e-9);
    // Looking away, and starting inside: nothing ahead.
    EXPECT_LE(intersectRay(earth, {0, 0, 0}, {-1, 0, 0}, nullptr), 0.0);
    EXPECT_EQ(intersectRay(earth, {1.0e5, 0, 0}, {0, 0, 1}, nullptr), -6371.0);
    // A ray without direction cannot hit anything.
    EXPECT_EQ(intersectRay(earth, {0, 0, 0}, {0, 0, 0}, &hit), noSurfaceKm);
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The same bits, or both NaN: which NaN comes out of a NaN's arithmetic depends
// on the order the compiler puts the operands in, and no NaN reaches a picture.
bool sameValue(double a, double b) { return sameBits(a, b) || (std::isnan(a) && std::isnan(b)); }

// The globe tracing casts rows of rays, two side by side, in stages: each ray
// must come out with the very bits intersectRay gives it alone, for hits,
// misses, a tangent, an origin inside, a ray looking away, a far eye on a
// turned body, a NaN, and for a direction without length. Rows of three rays
// leave the second lane of their last pair without a ray.
TEST(RayIntersection, RowsOfRaysGiveWhatEachRayGivesAlone) {
    const RayTargets targets;
    const GlobeBody& far = targets.far;
    const GlobeBody& near = targets.near;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct RowCase {
        const GlobeBody* body;
        Vector3 direction;
        std::vector<Vector3> origins;  // km
    };
    const RowCase cases[] = {
        {&far, {1, 0, 0}, {{0, 0, 0}, {0, 3000.5, -2200.25}, {0, -6400, 0}}},
        {&far, {0.6, 0.8, 0}, {{1.5e8 - 6.0e4, -8.0e4, 10}, {1.5e8 - 6.0e4, -8.0e4 + 7000, 0}}},
        {&near, {1, 0, 0}, {{0, 6371, 0}, {0, 7000, 0}, {1.0e5, 0, 0}, {0, 0, 0}}},
        {&near, {-1, 0, 0}, {{0, 0, 0}, {0, nan, 0}, {0, 0, 1}}},
        {&near, {0, 0, 0}, {{0, 0, 0}, {0, 100, 0}}},
    };
    for (const RowCase& c : cases) {
        const BodyRays rays(*c.body, c.direction);
        RayRow row(c.origins.size());
        row.count = c.origins.size();
        for (std::size_t i = 0; i < row.count; ++i) {
            row.x[i] = c.origins[i].x;
            row.y[i] = c.origins[i].y;
            row.z[i] = c.origins[i].z;
        }
        rays.trace(row);
        for (std::size_t i = 0; i < row.count; ++i) {
            Vector3 hit;
            const double distanceKm = intersectRay(*c.body, c.origins[i], c.direction, &hit);
            EXPECT_TRUE(sameValue(row.distanceKm[i], distanceKm)) << c.origins[i].y << " ray " << i;
            EXPECT_TRUE(sameValue(row.x[i], hit.x) && sameValue(row.y[i], hit.y) && sameValue(row.z[i], hit.z))
                << c.origins[i].y << " ray " << i;
        }
    }
}

// The steps of a ray run on two rays at once, in the vector lanes of this build
// and in the plain pair that a compiler without vector extensions uses: each
// lane must give the bits intersectRay gives its ray alone, and the normal and
// the shade those surfaceNormal and surfaceShade give one point.
template <typename Number>
class LaneSteps : public ::testing::Test {};
using LaneTypes = ::testing::Types<Lanes, PairLanes>;
TYPED_TEST_SUITE(LaneSteps, LaneTypes);

TYPED_TEST(LaneSteps, EachLaneIsOnePixel) {
    using Number = TypeParam;
    const RayTargets targets;
    const GlobeBody& far = targets.far;
    const GlobeBody& near = targets.near;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct PairCase {
        const GlobeBody* body;
        Vector3 direction;
        Vector3 first;
        Vector3 second;
    };
    const PairCase cases[] = {
        {&far, {1, 0, 0}, {0, 3000.5, -2200.25}, {0, -6400, 0}},
        {&near, {1, 0, 0}, {0, 6371, 0}, {1.0e5, 0, 0}},
        {&near, {-1, 0, 0}, {0, nan, 0}, {0, 0, 1}},
        {&near, {0.6, 0.8, 0}, {-3.0e4, 100, 2000}, {0, 0, 0}},
    };
    const Vector3 sun{0.36, -0.48, 0.8};
    for (const PairCase& c : cases) {
        const BodyFrame<Number> frame(*c.body, c.direction);
        Vector3Of<Number> o = turnedOrigin(frame, Vector3Of<Number>{Number::of(c.first.x, c.second.x),
                                                                     Number::of(c.first.y, c.second.y),
                                                                     Number::of(c.first.z, c.second.z)});
        const Number stepKm = stepToNearEye(frame, o);
        const Number distanceKm = nearPoint(frame, rayQuadratic(frame, o), stepKm, o);
        const SurfaceNormal<Number> surface = surfaceNormal(o);
        const Number shade = surfaceShadeOf(surface.normal, sun);
        const auto lane = [](Number value, int k) { return k == 0 ? firstLane(value) : secondLane(value); };
        for (int k = 0; k < 2; ++k) {
            const Vector3& origin = k == 0 ? c.first : c.second;
            Vector3 hit;
            EXPECT_TRUE(sameValue(lane(distanceKm, k), intersectRay(*c.body, origin, c.direction, &hit)))
                << origin.y << " lane " << k;
            EXPECT_TRUE(sameValue(lane(o.x, k), hit.x) && sameValue(lane(o.y, k), hit.y) &&
                        sameValue(lane(o.z, k), hit.z))
                << origin.y << " lane " << k;
            const SurfaceNormal<double> alone = surfaceNormal<double>({hit.x, hit.y, hit.z});
            EXPECT_TRUE(sameValue(lane(surface.sineLatitude, k), alone.sineLatitude)) << origin.y << " lane " << k;
            EXPECT_TRUE(sameValue(lane(shade, k), surfaceShade({alone.normal.x, alone.normal.y, alone.normal.z}, sun)))
                << origin.y << " lane " << k;
        }
    }
}

TEST(SunDirection, PointsFromTheBodyToTheOrigin) {
    GlobeBody body = bodyAt(-3.0e8, 10.0);
    body.position.y = 4.0e8;
    const Vector3 s = sunDirectionInBody(body);
    EXPECT_DOUBLE_EQ(s.x, 0.6);
    EXPECT_DOUBLE_EQ(s.y, -0.8);
    // A body at the Sun itself has no direction to it: every shade is the floor.
    const Vector3 none = sunDirectionInBody(bodyAt(0.0, 10.0));
    EXPECT_EQ(none.x, 0.0);
    EXPECT_EQ(surfaceShade({1, 0, 0}, none), 0.05);
}

TEST(SurfaceShade, FollowsTheSquareRootLawAboveTheFloor) {
    struct ShadeCase {
        Vector3 normal;
        double expected;
    };
    const ShadeCase cases[] = {
        {{0, 0, 1}, 1.0},
        {{0, 0.75, std::sqrt(1.0 - 0.5625)}, std::sqrt(std::sqrt(1.0 - 0.5625))},
        {{0, 0.8, 0.6}, std::sqrt(0.6)},
        {{0, 1, 0.0025}, 0.05},   // sqrt(0.0025) is exactly the floor
        {{0, 1, 0.002}, 0.05},    // just inside the day side, within the floor
        {{0, 1, 0.00245}, 0.05},  // a square root of 0.0495, a hair under the floor
        {{0, 1, 0.003}, std::sqrt(0.003)},
        {{0, 0, -1}, 0.05},
    };
    for (const ShadeCase& c : cases) {
        EXPECT_DOUBLE_EQ(surfaceShade(c.normal, {0, 0, 1}), c.expected) << c.normal.y;
    }
    // Two normals side by side give each its own shade, bit for bit.
    for (const Vector3& sun : {Vector3{0, 0, 1}, Vector3{0.36, -0.48, 0.8}}) {
        for (std::size_t i = 0; i + 1 < std::size(cases); ++i) {
            const Vector3& a = cases[i].normal;
            const Vector3& b = cases[i + 1].normal;
            const Lanes both = surfaceShadeOf<Lanes>({twoLanes(a.x, b.x), twoLanes(a.y, b.y), twoLanes(a.z, b.z)}, sun);
            EXPECT_TRUE(sameBits(firstLane(both), surfaceShade(a, sun))) << a.z << " beside " << b.z;
            EXPECT_TRUE(sameBits(secondLane(both), surfaceShade(b, sun))) << b.z << " beside " << a.z;
        }
    }
    EXPECT_EQ(static_cast<int>(surfaceShade({0, 0, 1}, {0, 0, 1}) * 255.5), 255);
    EXPECT_EQ(static_cast<int>(surfaceShade({0, 0, -1}, {0, 0, 1}) * 255.5), 12);
}

TEST(TextureCoordinates, MapLongitudeAndLatitudeOntoTheMap) {
    struct MapCase {
        Vector3 hit;
        double x;
        double y;
        const char* what;
    };
    const double s = std::sqrt(0.5);
    const MapCase cases[] = {
        {{1, 0, 0}, 1024.0, 512.0, "longitude 0 on the equator: the middle"},
        {{0, 1, 0}, 1536.0, 512.0, "90° east: three quarters across"},
        {{0, -1, 0}, 512.0, 512.0, "90° west"},
        {{-1, 0, 0}, 0.0, 512.0, "the seam belongs to the left edge"},
        {{-1, -0.0, 0}, 0.0, 512.0, "also from below the seam"},
        {{-1, 1e-12, 0}, 2048.0, 512.0, "just short of 180° east: the right edge"},
        {{s, 0, s}, 1024.0, 768.0, "45° north"},
        {{0, 0, -2}, 1024.0, 0.0, "the south pole at the bottom"},
        {{0, 0, 2}, 1024.0, 1024.0, "the north pole at the top"},
    };
    for (const MapCase& c : cases) {
        const TexturePoint p = textureCoordinates(c.hit, 2048.0, 1024.0);
        EXPECT_NEAR(p.x, c.x, 1e-9) << c.what;
        EXPECT_NEAR(p.y, c.y, 1e-9) << c.what;
    }
    // The centre has no latitude: the equator, not NaN.
    EXPECT_EQ(textureCoordinates({0, 0, 0}, 2048.0, 1024.0).y, 512.0);
}

}  // namespace
