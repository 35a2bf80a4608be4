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
    const BodyFrame<double> frame(body, direction);
    Vector3Of<double> o = turnedOrigin(frame, {origin.x, origin.y, origin.z});
    const double stepKm = stepToNearEye(frame, o);
    // No direction: the quadratic would divide by zero and answer NaN, which no
    // caller could tell from a hit.
    const double distanceKm = frame.hasDirection ? nearPoint(frame, rayQuadratic(frame, o), stepKm, o) : noSurfaceKm;
    if (hit != nullptr) {
        *hit = {o.x, o.y, o.z};
    }
    return distanceKm;
}

RayRow::RayRow(std::size_t longestRow)
    : x(longestRow + 1),
      y(longestRow + 1),
      z(longestRow + 1),
      distanceKm(longestRow + 1),
      stepKm(longestRow + 1),
      b(longestRow + 1),
      disc(longestRow + 1) {}

namespace {

Vector3Lanes loadPoints(const RayRow& rays, std::size_t i) {
    return {loadLanes(&rays.x[i]), loadLanes(&rays.y[i]), loadLanes(&rays.z[i])};
}

void storePoints(RayRow& rays, std::size_t i, const Vector3Lanes& points) {
    storeLanes(&rays.x[i], points.x);
    storeLanes(&rays.y[i], points.y);
    storeLanes(&rays.z[i], points.z);
}

}  // namespace

void BodyRays::trace(RayRow& rays) const {
    for (std::size_t i = 0; i < rays.count; i += 2) {
        Vector3Lanes o = turnedOrigin(frame, loadPoints(rays, i));
        storeLanes(&rays.stepKm[i], stepToNearEye(frame, o));
        storePoints(rays, i, o);
    }
    if (!frame.hasDirection) {
        // No surface ahead of any ray; the points stay where the step left them.
        for (std::size_t i = 0; i < rays.count; i += 2) {
            storeLanes(&rays.distanceKm[i], bothLanes(noSurfaceKm));
        }
        return;
    }
    for (std::size_t i = 0; i < rays.count; i += 2) {
        const Quadratic<Lanes> q = rayQuadratic(frame, loadPoints(rays, i));
        storeLanes(&rays.b[i], q.b);
        storeLanes(&rays.disc[i], q.disc);
    }
    for (std::size_t i = 0; i < rays.count; i += 2) {
        Vector3Lanes o = loadPoints(rays, i);
        const Quadratic<Lanes> q{loadLanes(&rays.b[i]), loadLanes(&rays.disc[i])};
        storeLanes(&rays.distanceKm[i], nearPoint(frame, q, loadLanes(&rays.stepKm[i]), o));
        storePoints(rays, i, o);
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
