#pragma once

#include "raster/Vector3.h"

// Sixteen doubles, row-major: element (r, c) is m[4r + c]. Points are column
// vectors, p' = M·(x, y, z, 1), with the translation in column 3.
struct Matrix4 {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    double at(int row, int column) const { return m[4 * row + column]; }
    double& at(int row, int column) { return m[4 * row + column]; }
};

// out = a·b.
void multiply(const Matrix4& a, const Matrix4& b, Matrix4& out);
// Right-handed rotation by angleRad about the axis (ax, ay, az); the identity for a
// zero axis.
Matrix4 rotation(double angleRad, double ax, double ay, double az);
double determinant(const Matrix4& m);
// out = m⁻¹ by cofactors; a singular matrix gives infinities or NaNs.
void inverse(const Matrix4& m, Matrix4& out);
// Rows 0…2 of m·(p, 1).
Vector3 transformPoint(const Matrix4& m, const Vector3& p);
// The upper-left 3 × 3 part of m times d.
Vector3 transformDirection(const Matrix4& m, const Vector3& d);
