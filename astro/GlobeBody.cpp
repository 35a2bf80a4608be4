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

RayRow::RayRow(std::size_t longestRow)
    : x(longestRow + 1),
      y(longestRow + 1),
      z(longestRow + 1),
      distanceKm(longestRow + 1),
      squaredKm2(longestRow + 1),
      stepKm(longestRow + 1),
      b(longestRow + 1),
      disc(longestRow + 1) {}

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

void BodyRays::trace(RayRow& rays) const {
    const Lanes zero = bothLanes(0.0);
    // The origins relative to the body's centre, turned into the body frame.
    for (std::size_t i = 0; i < rays.count; i += 2) {
        const Lanes relativeX = loadLanes(&rays.x[i]) - position[0];
        const Lanes relativeY = loadLanes(&rays.y[i]) - position[1];
        const Lanes relativeZ = loadLanes(&rays.z[i]) - position[2];
        const auto turned = [&](int row) {
            return rotation[3 * row] * relativeX + rotation[3 * row + 1] * relativeY + rotation[3 * row + 2] * relativeZ;
        };
        const Lanes ox = turned(0);
        const Lanes oy = turned(1);
        const Lanes oz = turned(2);
        storeLanes(&rays.x[i], ox);
        storeLanes(&rays.y[i], oy);
        storeLanes(&rays.z[i], oz);
        storeLanes(&rays.squaredKm2[i], ox * ox + oy * oy + oz * oz);
    }
    // A far eye: start the ray two radii from the centre, so that the quadratic
    // is solved near the body and keeps its precision.
    for (std::size_t i = 0; i < rays.count; i += 2) {
        const Lanes h = sqrt(loadLanes(&rays.squaredKm2[i])) - startDistanceKm;
        const LaneMask far = h > zero;
        const Lanes ox = loadLanes(&rays.x[i]);
        const Lanes oy = loadLanes(&rays.y[i]);
        const Lanes oz = loadLanes(&rays.z[i]);
        storeLanes(&rays.x[i], select(far, ox + h * d[0], ox));
        storeLanes(&rays.y[i], select(far, oy + h * d[1], oy));
        storeLanes(&rays.z[i], select(far, oz + h * d[2], oz));
        storeLanes(&rays.stepKm[i], select(far, h, zero));
    }
    if (!hasDirection) {
        // No direction: no surface ahead of any ray, the points stay where the
        // step left them.
        for (std::size_t i = 0; i < rays.count; i += 2) {
            storeLanes(&rays.distanceKm[i], bothLanes(-100.0));
        }
        return;
    }
    for (std::size_t i = 0; i < rays.count; i += 2) {
        const Lanes ox = loadLanes(&rays.x[i]);
        const Lanes oy = loadLanes(&rays.y[i]);
        const Lanes oz = loadLanes(&rays.z[i]);
        const Lanes b = d[0] * ox + d[1] * oy + d[2] * oz;
        const Lanes c = ox * ox + oy * oy + oz * oz - radiusSquared;
        storeLanes(&rays.b[i], b);
        storeLanes(&rays.disc[i], b * b - c * a);
    }
    // The near root for a hit, the point of closest approach otherwise.
    for (std::size_t i = 0; i < rays.count; i += 2) {
        const Lanes disc = loadLanes(&rays.disc[i]);
        // Where disc is not above 0 the root's term is +0, and −b − 0 is −b bit
        // for bit: the quotient is then −b / a, the point of closest approach.
        const Lanes root = select(disc > zero, sqrt(disc), zero);
        const Lanes t = (-loadLanes(&rays.b[i]) - root) / a;
        storeLanes(&rays.distanceKm[i], select(disc < zero, bothLanes(-100.0), t + loadLanes(&rays.stepKm[i])));
        storeLanes(&rays.x[i], loadLanes(&rays.x[i]) + t * d[0]);
        storeLanes(&rays.y[i], loadLanes(&rays.y[i]) + t * d[1]);
        storeLanes(&rays.z[i], loadLanes(&rays.z[i]) + t * d[2]);
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
