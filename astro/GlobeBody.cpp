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
    // The origin relative to the body's centre and the direction, both turned
    // into the body frame.
    Vector3 o = transformVector(body.rotation, origin - body.position);
    const Vector3 d = transformVector(body.rotation, direction);

    // A far eye: start the ray two radii from the centre, so that the quadratic is
    // solved near the body and keeps its precision.
    double h = length(o) - 2.0 * body.radiusKm;
    if (h > 0.0) {
        o = o + h * d;
    } else {
        h = 0.0;
    }
    const double a = dot(d, d);
    if (!(a > 0.0)) {
        // No direction: the quadratic would divide by zero and answer NaN, which
        // no caller could tell from a hit.
        if (hit != nullptr) {
            *hit = o;
        }
        return -100.0;
    }
    const double b = dot(d, o);
    const double c = dot(o, o) - body.radiusKm * body.radiusKm;
    const double disc = b * b - c * a;
    // The near root for a hit, the point of closest approach otherwise.
    const double t = disc > 0.0 ? (-b - std::sqrt(disc)) / a : -b / a;
    if (hit != nullptr) {
        *hit = o + t * d;
    }
    return disc < 0.0 ? -100.0 : t + h;
}

BodyRays::BodyRays(const GlobeBody& body, const Vector3& direction) {
    const Vector3 bodyDirection = transformVector(body.rotation, direction);
    const double dd = dot(bodyDirection, bodyDirection);
    for (int k = 0; k < 9; ++k) {
        rotation[k] = bothLanes(body.rotation.m[k]);
    }
    position[0] = bothLanes(body.position.x);
    position[1] = bothLanes(body.position.y);
    position[2] = bothLanes(body.position.z);
    d[0] = bothLanes(bodyDirection.x);
    d[1] = bothLanes(bodyDirection.y);
    d[2] = bothLanes(bodyDirection.z);
    a = bothLanes(dd);
    startDistanceKm = bothLanes(2.0 * body.radiusKm);
    radiusSquared = bothLanes(body.radiusKm * body.radiusKm);
    hasDirection = dd > 0.0;
}

Vector3 sunDirectionInBody(const GlobeBody& body) {
    const Vector3 s = transformVector(body.rotation, -body.position);
    const double distanceKm = length(s);
    if (distanceKm == 0.0) {
        return s;
    }
    return s / distanceKm;
}
