#pragma once

#include "raster/Matrix3.h"
#include "raster/Vector3.h"

#include <cstddef>

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

// intersectRay for a direction already turned into the body frame
// (bodyDirection = rotation · direction): the same arithmetic, for callers that
// trace many rays of one direction.
double intersectRayBodyDirection(const GlobeBody& body, const Vector3& origin, const Vector3& bodyDirection,
                                 Vector3* hit);

// intersectRayBodyDirection for count rays of one direction: distances[i] and
// hits[i] receive what it gives for the ray from origins[i]. One call for a row
// of rays keeps the per-body constants out of the loop.
void intersectRaysBodyDirection(const GlobeBody& body, const Vector3* origins, std::size_t count,
                                const Vector3& bodyDirection, double* distances, Vector3* hits);

// The unit vector, body frame, from the body's centre toward the Sun at the origin
// of the scene; the zero vector when the body stands at the origin itself.
Vector3 sunDirectionInBody(const GlobeBody& body);
