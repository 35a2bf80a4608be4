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

// The distance, km, along the unit ray from origin (scene coordinates) to the near
// point where it meets the body, or -100.0 when it misses (or the direction has no
// length). A result <= 0 means no surface ahead. hit, when given, receives the body-frame point: on the sphere for
// a hit, the point of closest approach for a miss.
double intersectRay(const GlobeBody& body, const Vector3& origin, const Vector3& direction, Vector3* hit);

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
    // Between the stages:
    std::vector<double> squaredKm2;  // |o|², km²
    std::vector<double> stepKm;      // the far eye's step h, km
    std::vector<double> b;           // d·o, km
    std::vector<double> disc;        // b² − c·a, km²
};

// intersectRay for many rays of one direction: the direction is turned into
// the body frame once, the body's numbers are kept in both lanes, and a row
// of rays is traced in stages over all its rays, two at a time. Each ray gets
// exactly the operations of intersectRay; the stages only keep the long chain
// of square roots and divisions of one ray from holding up the next.
class BodyRays {
public:
    // direction: the rays' common unit direction, scene frame.
    BodyRays(const GlobeBody& body, const Vector3& direction);

    void trace(RayRow& rays) const;

private:
    // The body's numbers, each in both lanes.
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
