#pragma once

#include "raster/Vector3.h"

// Nine doubles, row-major: element (r, c) is m[3r + c]; acts on column vectors.
// The identity by default. The operations are those of Matrix4, under the same
// names and in the same form.
struct Matrix3 {
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    double at(int row, int column) const { return m[3 * row + column]; }
    double& at(int row, int column) { return m[3 * row + column]; }
};

// out = a·b, each element summed over k = 0, 1, 2 in that order.
void multiply(const Matrix3& a, const Matrix3& b, Matrix3& out);
// out = the right-handed rotation by angleRad about the axis (ax, ay, az),
// normalised first; the identity for a zero axis. Element for element the
// rotation part of the 4 × 4 rotation.
void rotation(double angleRad, double ax, double ay, double az, Matrix3& out);
// Expanded down column 0.
double determinant(const Matrix3& m);
// out = the adjugate divided by the determinant; a singular matrix gives
// infinities or NaNs.
void inverse(const Matrix3& m, Matrix3& out);

// m·v, each component summed in the order x, y, z. Inline: the globe tracing
// applies a body's rotation once per ray.
inline Vector3 transformVector(const Matrix3& m, const Vector3& v) {
    return {m.m[0] * v.x + m.m[1] * v.y + m.m[2] * v.z,
            m.m[3] * v.x + m.m[4] * v.y + m.m[5] * v.z,
            m.m[6] * v.x + m.m[7] * v.y + m.m[8] * v.z};
}
