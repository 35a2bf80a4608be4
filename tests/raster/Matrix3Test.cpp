#include "raster/Matrix3.h"
#include "raster/Matrix4.h"

#include <gtest/gtest.h>

namespace {

Matrix3 fromRows(const double (&values)[9]) {
    Matrix3 m;
    for (int i = 0; i < 9; ++i) {
        m.m[i] = values[i];
    }
    return m;
}

void expectNear(const Matrix3& actual, const Matrix3& expected, double within) {
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(actual.m[i], expected.m[i], within) << "element " << i;
    }
}

// Small integers with determinant −5, not symmetric, so that a transposed
// product or inverse shows.
const Matrix3 general = fromRows({2, -1, 4, 0, 1, 3, 1, 0, 1});

}  // namespace

TEST(Matrix3, MultiplyInRowColumnOrder) {
    const Matrix3 a = fromRows({1, 2, 0, 0, 1, 0, 0, 0, 1});
    const Matrix3 b = fromRows({1, 0, 0, 3, 1, 0, 0, 0, 1});
    Matrix3 out;
    multiply(a, b, out);
    expectNear(out, fromRows({7, 2, 0, 3, 1, 0, 0, 0, 1}), 0.0);
    multiply(b, a, out);
    expectNear(out, fromRows({1, 2, 0, 3, 7, 0, 0, 0, 1}), 0.0);
    // The output may be one of the inputs.
    Matrix3 inPlace = b;
    multiply(a, inPlace, inPlace);
    expectNear(inPlace, fromRows({7, 2, 0, 3, 1, 0, 0, 0, 1}), 0.0);
}

// The body orientations are built from these: they must be the 4 × 4 rotation's
// upper-left part, bit for bit.
TEST(Matrix3, RotationIsTheRotationPartOfTheFourByFourOne) {
    struct Case {
        double angleRad, ax, ay, az;
    };
    const Case cases[] = {{0.7, 1, -2, 0.5}, {-4.889487539584555, 0, 0, 1}, {2.0, 1, 0, 0}, {1.234, 0, 0, 0}};
    for (const Case& c : cases) {
        Matrix3 small = general;
        rotation(c.angleRad, c.ax, c.ay, c.az, small);
        Matrix4 full;
        rotation(c.angleRad, c.ax, c.ay, c.az, full);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                EXPECT_EQ(small.at(row, column), full.at(row, column)) << c.angleRad << " " << row << column;
            }
        }
    }
}

TEST(Matrix3, DeterminantsAndInverse) {
    EXPECT_EQ(determinant(Matrix3{}), 1.0);
    EXPECT_EQ(determinant(fromRows({0, 0, 0, 1, 2, 3, 4, 5, 6})), 0.0);
    // 2·(1·1 − 0·3) − 0·(…) + 1·((−1)·3 − 4·1) = 2 − 7.
    EXPECT_EQ(determinant(general), -5.0);
    // Swapping two rows changes the sign.
    EXPECT_EQ(determinant(fromRows({0, 1, 3, 2, -1, 4, 1, 0, 1})), 5.0);

    Matrix3 inv;
    inverse(general, inv);
    // The adjugate by hand, (1 1 −7 / 3 −2 −6 / −1 −1 2), over −5.
    expectNear(inv, fromRows({-0.2, -0.2, 1.4, -0.6, 0.4, 1.2, 0.2, 0.2, -0.4}), 1e-15);
    // The output may be the input.
    Matrix3 inPlace = general;
    inverse(inPlace, inPlace);
    expectNear(inPlace, inv, 0.0);
}

// Row i of the matrix dotted with the vector gives component i.
TEST(Matrix3, TransformVectorTakesRowsTimesTheVector) {
    const Vector3 v = transformVector(general, {1.0, 2.0, 3.0});
    EXPECT_EQ(v.x, 12.0);
    EXPECT_EQ(v.y, 11.0);
    EXPECT_EQ(v.z, 4.0);
}
