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
    return intersectRayBodyDirection(body, origin, transformVector(body.rotation, direction), hit);
}

double intersectRayBodyDirection(const GlobeBody& body, const Vector3& origin, const Vector3& bodyDirection,
                                 Vector3* hit) {
    double distance = 0.0;
    Vector3 point;
    intersectRaysBodyDirection(body, &origin, 1, bodyDirection, &distance, &point);
    if (hit != nullptr) {
        *hit = point;
    }
    return distance;
}

void intersectRaysBodyDirection(const GlobeBody& body, const Vector3* origins, std::size_t count,
                                const Vector3& bodyDirection, double* distances, Vector3* hits) {
    const Vector3& d = bodyDirection;
    const double a = dot(d, d);
    const double startDistanceKm = 2.0 * body.radiusKm;
    const double radiusSquared = body.radiusKm * body.radiusKm;
    for (std::size_t i = 0; i < count; ++i) {
        // The origin relative to the body's centre, turned into the body frame.
        Vector3 o = transformVector(body.rotation, origins[i] - body.position);

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
            hits[i] = o;
            distances[i] = -100.0;
            continue;
        }
        const double b = dot(d, o);
        const double c = dot(o, o) - radiusSquared;
        const double disc = b * b - c * a;
        // The near root for a hit, the point of closest approach otherwise.
        const double t = disc > 0.0 ? (-b - std::sqrt(disc)) / a : -b / a;
        hits[i] = o + t * d;
        distances[i] = disc < 0.0 ? -100.0 : t + h;
    }
}

Vector3 sunDirectionInBody(const GlobeBody& body) {
    const Vector3 s = transformVector(body.rotation, -body.position);
    const double distanceKm = length(s);
    if (distanceKm == 0.0) {
        return s;
    }
    return s / distanceKm;
}
