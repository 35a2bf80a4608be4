#include "raster/Matrix4.h"

#include <gtest/gtest.h>

namespace {

constexpr double halfPi = 1.5707963267948966;

// Rounding of a few products of values near 1.
constexpr double tolerance = 1e-15;

Matrix4 fromRows(const double (&values)[16]) {
    Matrix4 m;
    for (int i = 0; i < 16; ++i) {
        m.m[i] = values[i];
    }
    return m;
}

Matrix4 translation(double x, double y, double z) {
    Matrix4 m;
    m.at(0, 3) = x;
    m.at(1, 3) = y;
    m.at(2, 3) = z;
    return m;
}

void expectNear(const Matrix4& actual, const Matrix4& expected, double within) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.m[i], expected.m[i], within) << "element " << i;
    }
}

// Small integers with determinant 296 (exact elimination in rational numbers).
const Matrix4 general = fromRows({2, -1, 0, 3, 1, 4, 2, -2, 0, 5, -3, 1, 7, 0, 1, 2});

Matrix4 rotationOf(double angleRad, double ax, double ay, double az) {
    Matrix4 r;
    rotation(angleRad, ax, ay, az, r);
    return r;
}

}  // namespace

TEST(Matrix4, MultiplyInRowColumnOrder) {
    const Matrix4 a = fromRows({1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    const Matrix4 b = fromRows({1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    Matrix4 out;
    multiply(a, b, out);
    expectNear(out, fromRows({7, 2, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), 0.0);
    multiply(b, a, out);
    expectNear(out, fromRows({1, 2, 0, 0, 3, 7, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), 0.0);
    // The output may be one of the inputs.
    Matrix4 inPlace = a;
    multiply(inPlace, b, inPlace);
    expectNear(inPlace, fromRows({7, 2, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), 0.0);
}

TEST(Matrix4, RotationAboutAZeroAxisIsTheIdentity) {
    Matrix4 r = general;
    rotation(1.234, 0, 0, 0, r);
    expectNear(r, Matrix4{}, 0.0);
}

// Right-handed quarter turns, each mapping one axis onto the next.
TEST(Matrix4, RotationTurnsCounterClockwise) {
    struct Case {
        double ax, ay, az;
        Vector3 from, to;
    };
    const Case cases[] = {
        {0, 0, 1, {1, 0, 0}, {0, 1, 0}},
        {0, 0, 5, {0, 1, 0}, {-1, 0, 0}},  // the axis length does not matter
        {1, 0, 0, {0, 1, 0}, {0, 0, 1}},
        {0, 1, 0, {0, 0, 1}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        const Vector3 v = transformVector(rotationOf(halfPi, c.ax, c.ay, c.az), c.from);
        EXPECT_NEAR(v.x, c.to.x, tolerance);
        EXPECT_NEAR(v.y, c.to.y, tolerance);
        EXPECT_NEAR(v.z, c.to.z, tolerance);
    }
}

TEST(Matrix4, Determinants) {
    EXPECT_EQ(determinant(Matrix4{}), 1.0);
    EXPECT_EQ(determinant(fromRows({0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3})), 0.0);
    EXPECT_EQ(determinant(fromRows({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5})), 120.0);
    EXPECT_EQ(determinant(general), 296.0);
    // Swapping two rows changes the sign.
    EXPECT_EQ(determinant(fromRows({1, 4, 2, -2, 2, -1, 0, 3, 0, 5, -3, 1, 7, 0, 1, 2})), -296.0);
    EXPECT_NEAR(determinant(rotationOf(0.7, 1, 2, 3)), 1.0, tolerance);
}

TEST(Matrix4, InverseOfARotationIsItsTranspose) {
    const Matrix4 r = rotationOf(0.7, 1, -2, 0.5);
    Matrix4 inv;
    inverse(r, inv);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(inv.at(row, column), r.at(column, row), tolerance);
        }
    }
}

TEST(Matrix4, InverseUndoesTranslationAndGeneralMatrices) {
    Matrix4 inv;
    inverse(translation(5, 6, 7), inv);
    expectNear(inv, translation(-5, -6, -7), 0.0);

    inverse(general, inv);
    Matrix4 product;
    multiply(general, inv, product);
    // Cofactors of small integers divided by 296: a few units of rounding.
    expectNear(product, Matrix4{}, 1e-15);
    // One cofactor by hand: element (0, 0) of the inverse is det3 of rows and
    // columns 1…3, (4 2 −2 / 5 −3 1 / 0 1 2), = −58, over 296.
    EXPECT_NEAR(inv.at(0, 0), -58.0 / 296.0, 1e-17);
}
