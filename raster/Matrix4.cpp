#include "raster/Matrix4.h"

#include <cmath>

namespace {

// The determinant of the 3 × 3 matrix (a b c / d e f / g h k), expanded along its
// first column.
double det3(double a, double b, double c, double d, double e, double f, double g, double h,
            double k) {
    return a * (e * k - h * f) - d * (b * k - c * h) + g * (b * f - c * e);
}

// The determinant of m without row skipRow and column skipColumn.
double minor(const Matrix4& m, int skipRow, int skipColumn) {
    double v[9];
    int n = 0;
    for (int r = 0; r < 4; ++r) {
        if (r == skipRow) {
            continue;
        }
        for (int c = 0; c < 4; ++c) {
            if (c != skipColumn) {
                v[n++] = m.at(r, c);
            }
        }
    }
    return det3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
}

}  // namespace

void multiply(const Matrix4& a, const Matrix4& b, Matrix4& out) {
    // Computed aside so that out may be a or b.
    Matrix4 product;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            product.at(r, c) = a.at(r, 0) * b.at(0, c) + a.at(r, 1) * b.at(1, c) +
                               a.at(r, 2) * b.at(2, c) + a.at(r, 3) * b.at(3, c);
        }
    }
    out = product;
}

void rotation(double angleRad, double ax, double ay, double az, Matrix4& out) {
    Matrix4 result;
    const double axisLength = std::sqrt(ax * ax + ay * ay + az * az);
    if (axisLength == 0.0) {
        out = result;
        return;
    }
    const double inverseLength = 1.0 / axisLength;
    const double x = ax * inverseLength;
    const double y = ay * inverseLength;
    const double z = az * inverseLength;
    const double c = std::cos(angleRad);
    const double s = std::sin(angleRad);
    const double t = 1.0 - c;
    result.m[0] = t * x * x + c;
    result.m[1] = t * x * y - s * z;
    result.m[2] = t * x * z + s * y;
    result.m[4] = t * x * y + s * z;
    result.m[5] = t * y * y + c;
    result.m[6] = t * y * z - s * x;
    result.m[8] = t * x * z - s * y;
    result.m[9] = t * y * z + s * x;
    result.m[10] = t * z * z + c;
    out = result;
}

double determinant(const Matrix4& m) {
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) {
        const double term = m.at(0, i) * minor(m, 0, i);
        if (i % 2 == 0) {
            sum += term;
        } else {
            sum -= term;
        }
    }
    return sum;
}

void inverse(const Matrix4& m, Matrix4& out) {
    const double inverseDeterminant = 1.0 / determinant(m);
    // Computed aside so that out may be m.
    Matrix4 result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const double sign = (i + j) % 2 == 0 ? 1.0 : -1.0;
            result.at(j, i) = sign * minor(m, i, j) * inverseDeterminant;
        }
    }
    out = result;
}
