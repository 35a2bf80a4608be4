#include "raster/Vector3.h"

#include <gtest/gtest.h>

namespace {

void expectSame(const Vector3& actual, const Vector3& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
}

}  // namespace

// Exact results: every component below is a sum, difference, product or quotient
// of small binary fractions, so no rounding enters.
TEST(Vector3, OperatorsWorkComponentByComponent) {
    const Vector3 a{1.5, -2.0, 4.25};
    const Vector3 b{0.5, 3.0, -1.0};
    struct Case {
        const char* what;
        Vector3 actual, expected;
    };
    const Case cases[] = {
        {"a + b", a + b, {2.0, 1.0, 3.25}},
        {"a - b", a - b, {1.0, -5.0, 5.25}},
        {"-a", -a, {-1.5, 2.0, -4.25}},
        {"2 a", 2.0 * a, {3.0, -4.0, 8.5}},
        {"a 2", a * 2.0, {3.0, -4.0, 8.5}},
        {"a / 4", a / 4.0, {0.375, -0.5, 1.0625}},
        {"b + 0.5 a", b + 0.5 * a, {1.25, 2.0, 1.125}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectSame(c.actual, c.expected);
    }
    EXPECT_EQ(dot(a, b), 0.75 - 6.0 - 4.25);
    EXPECT_EQ(length(Vector3{2.0, -3.0, 6.0}), 7.0);
}

// The tracing and the scene depend on each component coming out bit for bit as
// the hand-written sum it replaced; these values round differently in any other
// order or form.
TEST(Vector3, ArithmeticKeepsItsOrderAndForm) {
    // 1e16 + 1 rounds back to 1e16: left to right the sum is 0, x + z first gives 1.
    EXPECT_EQ(dot(Vector3{1.0e16, 1.0, -1.0e16}, Vector3{1.0, 1.0, 1.0}), 0.0);
    // (0.1 + 0.2) + 0.3 is 0.6000000000000001; 0.1 + (0.2 + 0.3) is 0.6.
    EXPECT_EQ(dot(Vector3{0.1, 0.2, 0.3}, Vector3{1.0, 1.0, 1.0}), 0.6000000000000001);
    // A true quotient: 5 × (1/3) would give 1.6666666666666665.
    EXPECT_EQ((Vector3{5.0, 7.0, 10.0} / 3.0).x, 5.0 / 3.0);
    EXPECT_NE((Vector3{5.0, 7.0, 10.0} / 3.0).x, 5.0 * (1.0 / 3.0));
    const double h = 1.0 / 3.0;
    const Vector3 o{0.1, 0.2, 0.3};
    const Vector3 d{0.7, -0.9, 1.1};
    expectSame(o + h * d, {o.x + h * d.x, o.y + h * d.y, o.z + h * d.z});
}
