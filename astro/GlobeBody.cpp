#include "astro/GlobeBody.h"

#include "raster/Angles.h"

#include <cmath>

void setOrientation(GlobeBody& body, double primeMeridianDeg, double poleRightAscensionDeg,
                    double poleDeclinationDeg) {
    // Three turns of the frame, each applied from the left: about z by α0 + 90°,
    // about the new x by 90° − δ0, about the new z by W. A frame turn by φ is
    // the right-handed rotation by −φ.
    Matrix3 frame;
    Matrix3 turn;
    rotation((poleRightAscensionDeg + 90.0) * -radiansPerDegree, 0.0, 0.0, 1.0, turn);
    multiply(turn, frame, frame);
    rotation((90.0 - poleDeclinationDeg) * -radiansPerDegree, 1.0, 0.0, 0.0, turn);
    multiply(turn, frame, frame);
    rotation(primeMeridianDeg * -radiansPerDegree, 0.0, 0.0, 1.0, turn);
    multiply(turn, frame, frame);
    body.rotation = frame;
    inverse(frame, body.inverseRotation);
}

double intersectRay(const GlobeBody& body, const Vector3& origin, const Vector3& direction, Vector3* hit) {
    const RayHit result = BodyRays(body, direction).trace(origin);
    if (hit != nullptr) {
        *hit = result.point;
    }
    return result.distanceKm;
}

BodyRays::BodyRays(const GlobeBody& body, const Vector3& direction)
    : rotation(body.rotation),
      position(body.position),
      d(transformVector(body.rotation, direction)),
      a(dot(d, d)),
      startDistanceKm(2.0 * body.radiusKm),
      radiusSquared(body.radiusKm * body.radiusKm) {}

Vector3 sunDirectionInBody(const GlobeBody& body) {
    const Vector3 s = transformVector(body.rotation, -body.position);
    const double distanceKm = length(s);
    if (distanceKm == 0.0) {
        return s;
    }
    return s / distanceKm;
}
