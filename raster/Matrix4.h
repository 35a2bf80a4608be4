#pragma once

#include "raster/Vector3.h"

// Sixteen doubles, row-major: element (r, c) is m[4r + c]. Points are column
// vectors, p' = M·(x, y, z, 1), with the translation in column 3. The identity by
// default.
//
// Matrix3 has the same operations under the same names; every one that makes a
// matrix writes it to a separate output argument, which may be one of its inputs.
struct Matrix4 {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    double at(int row, int column) const { return m[4 * row + column]; }
    double& at(int row, int column) { return m[4 * row + column]; }
};

// out = a·b, each element summed over k = 0 … 3 in that order.
void multiply(const Matrix4& a, const Matrix4& b, Matrix4& out);
// out = the right-handed rotation by angleRad about the axis (ax, ay, az),
// normalised first; the identity for a zero axis.
void rotation(double angleRad, double ax, double ay, double az, Matrix4& out);
// Expanded along row 0.
double determinant(const Matrix4& m);
// out = m⁻¹ by cofactors; a singular matrix gives infinities or NaNs.
void inverse(const Matrix4& m, Matrix4& out);

// Rows 0…2 of m·(p, 1): a point, moved by the translation.
inline Vector3 transformPoint(const Matrix4& m, const Vector3& p) {
    return {m.at(0, 0) * p.x + m.at(0, 1) * p.y + m.at(0, 2) * p.z + m.at(0, 3),
            m.at(1, 0) * p.x + m.at(1, 1) * p.y + m.at(1, 2) * p.z + m.at(1, 3),
            m.at(2, 0) * p.x + m.at(2, 1) * p.y + m.at(2, 2) * p.z + m.at(2, 3)};
}

// The upper-left 3 × 3 part of m times v: a direction or a difference of points,
// which the translation does not move. Each component summed in the order x, y, z.
inline Vector3 transformVector(const Matrix4& m, const Vector3& v) {
    return {m.at(0, 0) * v.x + m.at(0, 1) * v.y + m.at(0, 2) * v.z,
            m.at(1, 0) * v.x + m.at(1, 1) * v.y + m.at(1, 2) * v.z,
            m.at(2, 0) * v.x + m.at(2, 1) * v.y + m.at(2, 2) * v.z};
}
