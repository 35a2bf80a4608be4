#pragma once

#include "astro/Lanes.h"
#include "raster/Matrix3.h"
#include "raster/Vector3.h"

#include <cstddef>
#include <vector>

// One sphere of the Sun-centred scene. Its body-fixed frame has z toward the
// north pole, x toward longitude 0 and y toward longitude 90° east.
struct GlobeBody {
    Vector3 position;          // centre, km, heliocentric, equatorial frame of J2000.0
    Matrix3 rotation;          // equatorial frame to body frame
    Matrix3 inverseRotation;   // body frame to equatorial frame
    double radiusKm = 1.0;     // earthRadiusKm or moonRadiusKm below
};

// The radii of the two spheres, km: the Earth's mean radius and the Moon's.
inline constexpr double earthRadiusKm = 6371.0;
inline constexpr double moonRadiusKm = 1737.4;

// The rotation of a body at one moment, after the published rotation elements.
struct RotationElements {
    double primeMeridianDeg = 0.0;      // W: angle of the prime meridian along the equator from its node, degrees
    double poleRightAscensionDeg = 0.0; // α0 of the north pole, degrees
    double poleDeclinationDeg = 0.0;    // δ0 of the north pole, degrees
};

// Fills both matrices of body from its rotation elements: rotation =
// Rz(W)·Rx(90° − δ0)·Rz(90° + α0), as frame rotations. Position and radius stay.
void setOrientation(GlobeBody& body, double primeMeridianDeg, double poleRightAscensionDeg,
                    double poleDeclinationDeg);

// The distance, km, that stands for "no surface ahead" where a ray misses the
// body or has no direction.
inline constexpr double noSurfaceKm = -100.0;

// The distance, km, along the unit ray from origin (scene coordinates) to the near
// point where it meets the body, or noSurfaceKm when it misses (or the direction
// has no length). A result <= 0 means no surface ahead. hit, when given, receives
// the body-frame point: on the sphere for a hit, the point of closest approach for
// a miss. It is the steps below run on one ray.
double intersectRay(const GlobeBody& body, const Vector3& origin, const Vector3& direction, Vector3* hit);

// The numbers that every ray of one direction shares when it is traced against
// one body, each in every lane of Number (a double for one ray, Lanes for two).
template <typename Number>
struct BodyFrame {
    Number rotation[9];        // equatorial frame to body frame, row-major
    Number position[3];        // the body's centre, km
    Number d[3];               // the rays' direction in the body frame
    Number a;                  // d·d
    Number startDistanceKm;    // two radii, km
    Number radiusSquaredKm2;   // km²
    bool hasDirection = false; // a > 0

    BodyFrame(const GlobeBody& body, const Vector3& direction) {
        const Vector3 bodyDirection = transformVector(body.rotation, direction);
        const double dd = dot(bodyDirection, bodyDirection);
        for (int k = 0; k < 9; ++k) {
            rotation[k] = everyLane<Number>(body.rotation.m[k]);
        }
        position[0] = everyLane<Number>(body.position.x);
        position[1] = everyLane<Number>(body.position.y);
        position[2] = everyLane<Number>(body.position.z);
        d[0] = everyLane<Number>(bodyDirection.x);
        d[1] = everyLane<Number>(bodyDirection.y);
        d[2] = everyLane<Number>(bodyDirection.z);
        a = everyLane<Number>(dd);
        startDistanceKm = everyLane<Number>(2.0 * body.radiusKm);
        radiusSquaredKm2 = everyLane<Number>(body.radiusKm * body.radiusKm);
        hasDirection = dd > 0.0;
    }
};

// The steps of one ray, in the order they run. A row of rays runs each step
// over all its rays before the next, so that the long chain of square roots
// and divisions of one ray does not hold up the next.

// 1. The origin (scene frame, km) relative to the body's centre, turned into the
// body frame.
template <typename Number>
Vector3Of<Number> turnedOrigin(const BodyFrame<Number>& body, const Vector3Of<Number>& origin) {
    const Number relativeX = origin.x - body.position[0];
    const Number relativeY = origin.y - body.position[1];
    const Number relativeZ = origin.z - body.position[2];
    const auto turned = [&](int row) {
        return body.rotation[3 * row] * relativeX + body.rotation[3 * row + 1] * relativeY +
               body.rotation[3 * row + 2] * relativeZ;
    };
    return {turned(0), turned(1), turned(2)};
}

// 2. A far eye: the ray starts two radii from the centre, so that the quadratic
// is solved near the body and keeps its precision. Moves o and returns the step
// taken along the ray, km (0 for an eye already near).
template <typename Number>
Number stepToNearEye(const BodyFrame<Number>& body, Vector3Of<Number>& o) {
    using std::sqrt;
    const Number zero = everyLane<Number>(0.0);
    const Number h = sqrt(o.x * o.x + o.y * o.y + o.z * o.z) - body.startDistanceKm;
    const auto far = h > zero;
    o = {select(far, o.x + h * body.d[0], o.x), select(far, o.y + h * body.d[1], o.y),
         select(far, o.z + h * body.d[2], o.z)};
    return select(far, h, zero);
}

// 3. The half linear term b = d·o, km, and the discriminant b² − c·a, km², of the
// quadratic in the distance along the ray.
template <typename Number>
struct Quadratic {
    Number b;
    Number disc;
};

template <typename Number>
Quadratic<Number> rayQuadratic(const BodyFrame<Number>& body, const Vector3Of<Number>& o) {
    const Number b = body.d[0] * o.x + body.d[1] * o.y + body.d[2] * o.z;
    const Number c = o.x * o.x + o.y * o.y + o.z * o.z - body.radiusSquaredKm2;
    return {b, b * b - c * body.a};
}

// 4. The near root for a hit, the point of closest approach otherwise: moves o
// there and returns the distance from the original origin, km, or noSurfaceKm
// for a miss. Only for a body frame with a direction.
template <typename Number>
Number nearPoint(const BodyFrame<Number>& body, const Quadratic<Number>& q, Number stepKm, Vector3Of<Number>& o) {
    using std::sqrt;
    const Number zero = everyLane<Number>(0.0);
    // Where disc is not above 0 the root's term is +0, and −b − 0 is −b bit for
    // bit: the quotient is then −b / a, the point of closest approach.
    const Number root = select(q.disc > zero, sqrt(q.disc), zero);
    const Number t = (-q.b - root) / body.a;
    o = {o.x + t * body.d[0], o.y + t * body.d[1], o.z + t * body.d[2]};
    return select(q.disc < zero, everyLane<Number>(noSurfaceKm), t + stepKm);
}

// A row of rays of one direction, as the globe tracing casts them: their
// origins in, and what intersectRay gives for each ray out, in arrays of one
// element per ray. Every array has room for a ray more than the row's longest,
// since the rays are traced two at a time and the last pair may hold only one.
struct RayRow {
    explicit RayRow(std::size_t longestRow);

    std::size_t count = 0;  // rays in the row
    // In: the origins, scene frame, km. Out: the body-frame points, on the
    // sphere for a hit, the point of closest approach for a miss.
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> z;
    std::vector<double> distanceKm;  // out: along the ray to the near point, km; <= 0: no surface ahead
    // Between the steps:
    std::vector<double> stepKm;      // the far eye's step, km
    std::vector<double> b;           // d·o, km
    std::vector<double> disc;        // b² − c·a, km²
};

// intersectRay for a row of rays of one direction, two at a time: the
// direction is turned into the body frame once, and each step runs over the
// whole row before the next.
class BodyRays {
public:
    // direction: the rays' common unit direction, scene frame.
    BodyRays(const GlobeBody& body, const Vector3& direction) : frame(body, direction) {}

    void trace(RayRow& rays) const;

private:
    BodyFrame<Lanes> frame;
};

// The unit vector, body frame, from the body's centre toward the Sun at the origin
// of the scene; the zero vector when the body stands at the origin itself.
Vector3 sunDirectionInBody(const GlobeBody& body);
