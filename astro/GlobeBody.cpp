#include "astro/GlobeBody.h"

#include "astro/PeriodicSeries.h"

#include <cmath>

namespace {

double dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

void setOrientation(GlobeBody& body, double primeMeridianDeg, double poleRightAscensionDeg,
                    double poleDeclinationDeg) {
    // Three turns of the frame, each applied from the left: about z by α0 + 90°,
    // about the new x by 90° − δ0, about the new z by W. A frame turn by φ is
    // the right-handed rotation by −φ.
    Matrix3 rotation;
    rotation = multiply(axisRotation((poleRightAscensionDeg + 90.0) * -radiansPerDegree, 0.0, 0.0, 1.0),
                        rotation);
    rotation = multiply(axisRotation((90.0 - poleDeclinationDeg) * -radiansPerDegree, 1.0, 0.0, 0.0),
                        rotation);
    rotation = multiply(axisRotation(primeMeridianDeg * -radiansPerDegree, 0.0, 0.0, 1.0), rotation);
    body.rotation = rotation;
    body.inverseRotation = inverse(rotation);
}

double intersectRay(const GlobeBody& body, const Vector3& origin, const Vector3& direction, Vector3* hit) {
    return intersectRayBodyDirection(body, origin, apply(body.rotation, direction), hit);
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
    const Matrix3& m = body.rotation;
    const double a = dot(d, d);
    const double startDistanceKm = 2.0 * body.radiusKm;
    const double radiusSquared = body.radiusKm * body.radiusKm;
    for (std::size_t i = 0; i < count; ++i) {
        const Vector3 relative{origins[i].x - body.position.x, origins[i].y - body.position.y,
                               origins[i].z - body.position.z};
        // The body's rotation applied to the relative origin.
        Vector3 o{m.m[0] * relative.x + m.m[1] * relative.y + m.m[2] * relative.z,
                  m.m[3] * relative.x + m.m[4] * relative.y + m.m[5] * relative.z,
                  m.m[6] * relative.x + m.m[7] * relative.y + m.m[8] * relative.z};

        // A far eye: start the ray two radii from the centre, so that the quadratic is
        // solved near the body and keeps its precision.
        double h = std::sqrt(dot(o, o)) - startDistanceKm;
        if (h > 0.0) {
            o = {o.x + h * d.x, o.y + h * d.y, o.z + h * d.z};
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
        hits[i] = {o.x + t * d.x, o.y + t * d.y, o.z + t * d.z};
        distances[i] = disc < 0.0 ? -100.0 : t + h;
    }
}

Vector3 sunDirectionInBody(const GlobeBody& body) {
    const Vector3 s = apply(body.rotation, {-body.position.x, -body.position.y, -body.position.z});
    const double length = std::sqrt(dot(s, s));
    if (length == 0.0) {
        return s;
    }
    return {s.x / length, s.y / length, s.z / length};
}
