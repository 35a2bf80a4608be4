#pragma once

#include "raster/Vector3.h"

// Nine doubles, row-major: element (r, c) is m[3r + c]; acts on column vectors.
// The identity by default.
struct Matrix3 {
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    double at(int row, int column) const { return m[3 * row + column]; }
    double& at(int row, int column) { return m[3 * row + column]; }
};

// Right-handed rotation by angleRad about the axis (ax, ay, az), normalised first;
// the identity for a zero axis.
Matrix3 axisRotation(double angleRad, double ax, double ay, double az);
// a·b, each element summed over k = 0, 1, 2 in that order.
Matrix3 multiply(const Matrix3& a, const Matrix3& b);
// The determinant, expanded down column 0.
double determinant(const Matrix3& m);
// The adjugate divided by the determinant; a singular matrix gives infinities or NaNs.
Matrix3 inverse(const Matrix3& m);
// m·v, each component summed in the order x, y, z.
Vector3 apply(const Matrix3& m, const Vector3& v);
