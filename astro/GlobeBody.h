#pragma once

#include "astro/Lanes.h"
#include "raster/Matrix3.h"
#include "raster/Vector3.h"


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

// What intersectRay gives for two rays, in lanes 0 and 1.
struct RayHitLanes {
    Lanes distanceKm;
    Vector3Lanes point;
};

// intersectRay for many rays of one direction, two side by side, as the globe
// tracing casts them: the direction is turned into the body frame once, the
// body's constants are kept in both lanes, and the tracing is inline. Each
// lane gets exactly the operations of intersectRay for its ray.
class BodyRays {
public:
    // direction: the rays' common unit direction, scene frame.
    BodyRays(const GlobeBody& body, const Vector3& direction);

    // intersectRay for the rays from the origins in lanes 0 and 1.
    [[gnu::always_inline]] RayHitLanes traceLanes(const Vector3Lanes& origin) const {
        // The origin relative to the body's centre, turned into the body frame.
        const Lanes relativeX = origin.x - position[0];
        const Lanes relativeY = origin.y - position[1];
        const Lanes relativeZ = origin.z - position[2];
        const auto turned = [&](int row) {
            return rotation[3 * row] * relativeX + rotation[3 * row + 1] * relativeY + rotation[3 * row + 2] * relativeZ;
        };
        Vector3Lanes o{turned(0), turned(1), turned(2)};

        // The far eye's step, where it applies.
        Lanes h = sqrt(o.x * o.x + o.y * o.y + o.z * o.z) - startDistanceKm;
        const LaneMask far = h > bothLanes(0.0);
        o = {select(far, o.x + h * d[0], o.x), select(far, o.y + h * d[1], o.y), select(far, o.z + h * d[2], o.z)};
        h = select(far, h, bothLanes(0.0));
        if (!hasDirection) {
            return {bothLanes(-100.0), o};
        }
        const Lanes b = d[0] * o.x + d[1] * o.y + d[2] * o.z;
        const Lanes c = o.x * o.x + o.y * o.y + o.z * o.z - radiusSquared;
        const Lanes disc = b * b - c * a;
        // Where disc is not above 0 the root's term is +0, and −b − 0 is −b bit
        // for bit: the quotient is then −b / a, the point of closest approach.
        const Lanes root = select(disc > bothLanes(0.0), sqrt(disc), bothLanes(0.0));
        const Lanes t = (-b - root) / a;
        return {select(disc < bothLanes(0.0), bothLanes(-100.0), t + h), {o.x + t * d[0], o.y + t * d[1], o.z + t * d[2]}};
    }

private:
    // The body's numbers, each in both lanes, so that the loop around
    // traceLanes reads each from memory in one step.
    Lanes rotation[9] = {};       // equatorial frame to body frame, row-major
    Lanes position[3] = {};       // the body's centre, km
    Lanes d[3] = {};              // the direction in the body frame
    Lanes a = {};                 // d·d
    Lanes startDistanceKm = {};   // two radii, km
    Lanes radiusSquared = {};     // km²
    bool hasDirection = false;    // a > 0
};

// The unit vector, body frame, from the body's centre toward the Sun at the origin
// of the scene; the zero vector when the body stands at the origin itself.
Vector3 sunDirectionInBody(const GlobeBody& body);
