#pragma once

#include "astro/Lanes.h"
#include "raster/Matrix3.h"
#include "raster/Vector3.h"

#include <cmath>

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

// The distance, km, along the unit ray from origin (scene coordinates) to the near
// point where it meets the body, or -100.0 when it misses (or the direction has no
// length). A result <= 0 means no surface ahead. hit, when given, receives the body-frame point: on the sphere for
// a hit, the point of closest approach for a miss.
double intersectRay(const GlobeBody& body, const Vector3& origin, const Vector3& direction, Vector3* hit);

// What intersectRay gives for one ray.
struct RayHit {
    double distanceKm = -100.0;  // along the ray from its origin, km; <= 0: no surface ahead
    Vector3 point;               // body frame, km: on the sphere for a hit, the closest approach for a miss
};

// What intersectRay gives for two rays, in lanes 0 and 1.
struct RayHitLanes {
    Lanes distanceKm;
    Vector3Lanes point;
};

// intersectRay for many rays of one direction, as the globe tracing casts them:
// the direction is turned into the body frame once, the other per-body constants
// are taken once, and the tracing is inline. Every ray gets exactly the
// operations of intersectRay, one at a time or two side by side.
class BodyRays {
public:
    // direction: the rays' common unit direction, scene frame.
    BodyRays(const GlobeBody& body, const Vector3& direction);

    RayHit trace(const Vector3& origin) const {
        // The origin relative to the body's centre, turned into the body frame.
        Vector3 o = transformVector(rotation, origin - position);

        // A far eye: start the ray two radii from the centre, so that the quadratic is
        // solved near the body and keeps its precision.
        double h = length(o) - startDistanceKm;
        if (h > 0.0) {
            o = o + h * d;
        } else {
            h = 0.0;
        }
        if (!(a > 0.0)) {
            // No direction: the quadratic would divide by zero and answer NaN, which
            // no caller could tell from a hit.
            return {-100.0, o};
        }
        const double b = dot(d, o);
        const double c = dot(o, o) - radiusSquared;
        const double disc = b * b - c * a;
        // The near root for a hit, the point of closest approach otherwise.
        const double t = disc > 0.0 ? (-b - std::sqrt(disc)) / a : -b / a;
        return {disc < 0.0 ? -100.0 : t + h, o + t * d};
    }

    // trace for the rays from the origins in lanes 0 and 1.
    [[gnu::always_inline]] RayHitLanes traceLanes(const Vector3Lanes& origin) const {
        const Lanes relativeX = origin.x - bothLanes(position.x);
        const Lanes relativeY = origin.y - bothLanes(position.y);
        const Lanes relativeZ = origin.z - bothLanes(position.z);
        const auto turned = [&](int row) {
            return bothLanes(rotation.m[3 * row]) * relativeX + bothLanes(rotation.m[3 * row + 1]) * relativeY +
                   bothLanes(rotation.m[3 * row + 2]) * relativeZ;
        };
        Vector3Lanes o{turned(0), turned(1), turned(2)};
        const Lanes dx = bothLanes(d.x);
        const Lanes dy = bothLanes(d.y);
        const Lanes dz = bothLanes(d.z);

        Lanes h = sqrt(o.x * o.x + o.y * o.y + o.z * o.z) - bothLanes(startDistanceKm);
        const LaneMask far = h > bothLanes(0.0);
        o = {select(far, o.x + h * dx, o.x), select(far, o.y + h * dy, o.y), select(far, o.z + h * dz, o.z)};
        h = select(far, h, bothLanes(0.0));
        if (!(a > 0.0)) {
            return {bothLanes(-100.0), o};
        }
        const Lanes b = dx * o.x + dy * o.y + dz * o.z;
        const Lanes c = o.x * o.x + o.y * o.y + o.z * o.z - bothLanes(radiusSquared);
        const Lanes disc = b * b - c * bothLanes(a);
        // Where disc is not above 0 the root's term is +0, and −b − 0 is −b bit
        // for bit: the quotient is then −b / a, the point of closest approach.
        const Lanes root = select(disc > bothLanes(0.0), sqrt(disc), bothLanes(0.0));
        const Lanes t = (-b - root) / bothLanes(a);
        return {select(disc < bothLanes(0.0), bothLanes(-100.0), t + h), {o.x + t * dx, o.y + t * dy, o.z + t * dz}};
    }

private:
    Matrix3 rotation;              // the body's, equatorial frame to body frame
    Vector3 position;              // the body's centre, km
    Vector3 d;                     // the direction in the body frame
    double a = 0.0;                // d·d
    double startDistanceKm = 0.0;  // two radii, km
    double radiusSquared = 0.0;    // km²
};

// The unit vector, body frame, from the body's centre toward the Sun at the origin
// of the scene; the zero vector when the body stands at the origin itself.
Vector3 sunDirectionInBody(const GlobeBody& body);
