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
    const Vector3 relative{origin.x - body.position.x, origin.y - body.position.y, origin.z - body.position.z};
    Vector3 o = apply(body.rotation, relative);
    const Vector3& d = bodyDirection;

    // A far eye: start the ray two radii from the centre, so that the quadratic is
    // solved near the body and keeps its precision.
    double h = std::sqrt(dot(o, o)) - 2.0 * body.radiusKm;
    if (h > 0.0) {
        o = {o.x + h * d.x, o.y + h * d.y, o.z + h * d.z};
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
        *hit = {o.x + t * d.x, o.y + t * d.y, o.z + t * d.z};
    }
    if (disc < 0.0) {
        return -100.0;
    }
    return t + h;
}

Vector3 sunDirectionInBody(const GlobeBody& body) {
    const Vector3 s = apply(body.rotation, {-body.position.x, -body.position.y, -body.position.z});
    const double length = std::sqrt(dot(s, s));
    if (length == 0.0) {
        return s;
    }
    return {s.x / length, s.y / length, s.z / length};
}
