#include "raster/Matrix3.h"

#include "raster/Matrix4.h"

void multiply(const Matrix3& a, const Matrix3& b, Matrix3& out) {
    // Computed aside so that out may be a or b.
    Matrix3 product;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            product.at(row, column) = a.at(row, 0) * b.at(0, column) + a.at(row, 1) * b.at(1, column) +
                                      a.at(row, 2) * b.at(2, column);
        }
    }
    out = product;
}

void rotation(double angleRad, double ax, double ay, double az, Matrix3& out) {
    // The rotation part of the 4 × 4 one: the same arithmetic, element for element.
    Matrix4 full;
    rotation(angleRad, ax, ay, az, full);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            out.at(row, column) = full.at(row, column);
        }
    }
}

double determinant(const Matrix3& m) {
    // (a b c / d e f / g h k): a·(e·k − h·f) − d·(b·k − c·h) + g·(b·f − c·e).
    const double a = m.m[0], b = m.m[1], c = m.m[2];
    const double d = m.m[3], e = m.m[4], f = m.m[5];
    const double g = m.m[6], h = m.m[7], k = m.m[8];
    return a * (e * k - h * f) - d * (b * k - c * h) + g * (b * f - c * e);
}

void inverse(const Matrix3& m, Matrix3& out) {
    const double reciprocal = 1.0 / determinant(m);
    // Computed aside so that out may be m.
    Matrix3 result;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            // The 2 × 2 minor without this row and column, its rows and columns in order.
            const int r0 = row == 0 ? 1 : 0;
            const int r1 = row == 2 ? 1 : 2;
            const int c0 = column == 0 ? 1 : 0;
            const int c1 = column == 2 ? 1 : 2;
            const double minor = m.at(r0, c0) * m.at(r1, c1) - m.at(r1, c0) * m.at(r0, c1);
            const double cofactor = (row + column) % 2 == 0 ? minor : -minor;
            result.at(column, row) = cofactor * reciprocal;  // the adjugate is the transposed cofactors
        }
    }
    out = result;
}
