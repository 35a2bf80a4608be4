#include "raster/Color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

Color floats(float red, float green, float blue, float transparency) {
    Color c;
    c.rf = red;
    c.gf = green;
    c.bf = blue;
    c.tf = transparency;
    c.kind = ColorFloats;
    return c;
}

struct FloatPixel {
    float channels[3];
};

FloatPixel blendIntoFloats(const Color& color, FloatPixel pixel) {
    std::uint8_t bytes[12];
    std::memcpy(bytes, pixel.channels, sizeof bytes);
    color.blendInto(bytes, 2);
    std::memcpy(pixel.channels, bytes, sizeof bytes);
    return pixel;
}

}  // namespace

// Hand calculations of (P·t + c·(255 − t))/255 and of truncate(c·255.5) with its
// low eight bits.
TEST(ColorBlend, IntoBytePixels) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        Color color;
        std::uint8_t before[3];
        std::uint8_t after[3];
    };
    const Case cases[] = {
        {"opaque bytes replace", Color::bytes(200, 100, 50), {10, 20, 30}, {200, 100, 50}},
        {"t 255 keeps", Color::bytes(200, 100, 50, 255), {10, 20, 30}, {10, 20, 30}},
        {"t 128 mixes", Color::bytes(100, 255, 0, 128), {200, 0, 255}, {150, 127, 128}},
        {"opaque floats wrap", floats(1.0f, 0.5f, 1.5f, 0.0f), {9, 9, 9}, {255, 127, 127}},
        {"half transparent floats", floats(1.0f, 0.0f, -0.5f, 0.5f), {100, 100, 100},
         {177, 50, 114}},
        {"NaN transparency gives 0", floats(1.0f, 1.0f, 1.0f, nan), {100, 100, 100}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::uint8_t pixel[3] = {c.before[0], c.before[1], c.before[2]};
        c.color.blendInto(pixel, 1);
        EXPECT_EQ(pixel[0], c.after[0]) << c.what;
        EXPECT_EQ(pixel[1], c.after[1]) << c.what;
        EXPECT_EQ(pixel[2], c.after[2]) << c.what;
    }
}

TEST(ColorBlend, IntoFloatPixels) {
    struct Case {
        const char* what;
        Color color;
        FloatPixel before;
        FloatPixel after;
    };
    const Case cases[] = {
        {"opaque floats replace", floats(0.25f, 2.0f, -1.0f, 0.0f), {{0.5f, 0.5f, 0.5f}},
         {{0.25f, 2.0f, -1.0f}}},
        {"quarter transparent floats", floats(1.0f, 0.0f, 0.5f, 0.25f), {{0.5f, 0.5f, 0.5f}},
         {{0.875f, 0.125f, 0.5f}}},
        {"opaque bytes", Color::bytes(255, 0, 51), {{0.5f, 0.5f, 0.5f}}, {{1.0f, 0.0f, 0.2f}}},
        {"t 255 keeps", Color::bytes(255, 0, 51, 255), {{0.5f, 0.25f, 1.0f}},
         {{0.5f, 0.25f, 1.0f}}},
        {"t 128 mixes", Color::bytes(255, 0, 255, 128), {{1.0f, 1.0f, 0.0f}},
         {{1.0f, 128.0f / 255.0f, 127.0f / 255.0f}}},
    };
    for (const Case& c : cases) {
        const FloatPixel result = blendIntoFloats(c.color, c.before);
        for (int i = 0; i < 3; ++i) {
            // One single-precision rounding of a value near 1.
            EXPECT_NEAR(result.channels[i], c.after.channels[i], 1e-7) << c.what << " channel " << i;
        }
    }
}

// t·P rounds in single precision: 3 · 0.382f is not the double product. The
// expected value was computed separately in both precisions; the double path
// would give 0.779580593f.
TEST(ColorBlend, ByteOverFloatWeighsThePixelInSinglePrecision) {
    const FloatPixel result = blendIntoFloats(Color::bytes(200, 200, 200, 3), {{0.382f, 0, 0}});
    EXPECT_EQ(result.channels[0], 0.779580653f);
}

TEST(ColorBlend, UnknownKindOrFormatLeavesPixel) {
    Color none = Color::bytes(1, 2, 3);
    none.kind = 0;
    std::uint8_t pixel[3] = {7, 8, 9};
    none.blendInto(pixel, 1);
    Color::bytes(1, 2, 3).blendInto(pixel, 0);
    EXPECT_EQ(pixel[0], 7);
    EXPECT_EQ(pixel[1], 8);
    EXPECT_EQ(pixel[2], 9);
}

// Colours multiply, opacities (1 − transparency) multiply; hand calculations.
// A byte result keeps the low eight bits of a single-precision product (10 ·
// 0.7f is exactly 7 in single precision but 6.9999999 in double); a float
// result of an opaque pair is 1 − 255 · 1/255, a double rounding error, not 0.
TEST(ColorModulate, Examples) {
    Color unknown = Color::bytes(0, 0, 0, 0);
    unknown.kind = 7;
    struct Case {
        const char* what;
        Color x, o, expected;
    };
    const Case cases[] = {
        {"bytes: opaque", Color::bytes(200, 0, 0, 0), Color::bytes(128, 0, 0, 0), Color::bytes(100, 0, 0, 0)},
        {"bytes: clear", Color::bytes(200, 0, 0, 255), Color::bytes(128, 0, 0, 17), Color::bytes(100, 0, 0, 255)},
        {"bytes: opacities", Color::bytes(255, 0, 0, 100), Color::bytes(255, 0, 0, 50), Color::bytes(255, 0, 0, 131)},
        // 255 · 0.3f = 76.5 in single precision; 400 wraps to 144; t 255 − 0.5 · 255.
        {"bytes by floats", Color::bytes(200, 255, 200, 0), floats(0.5f, 0.3f, 2.0f, 0.5f),
         Color::bytes(100, 76, 144, 127)},
        {"single precision", Color::bytes(10, 0, 0), floats(0.7f, 0, 0, 0), Color::bytes(7, 0, 0)},
        {"bytes by clear floats", Color::bytes(0, 0, 0, 100), floats(0, 0, 0, 1.0f), Color::bytes(0, 0, 0, 255)},
        {"floats by bytes", floats(1.0f, 0.5f, 0.25f, 0.5f), Color::bytes(255, 51, 0, 255), floats(1, 0.1f, 0, 1)},
        {"floats by opaque bytes", floats(0, 0, 0, 0), Color::bytes(0, 0, 0, 0), floats(0, 0, 0, 0)},
        {"floats by floats", floats(0.5f, 1.0f, 0.0f, 0.5f), floats(0.5f, 0.25f, 1.0f, 0.5f),
         floats(0.25f, 0.25f, 0, 0.75f)},
        {"unknown kind", Color::bytes(200, 100, 50, 10), unknown, Color::bytes(200, 100, 50, 10)},
    };
    for (const Case& c : cases) {
        Color x = c.x;
        x.modulate(c.o);
        EXPECT_EQ(x.kind, c.expected.kind) << c.what;
        if (c.expected.kind == ColorBytes) {
            EXPECT_EQ(x.r, c.expected.r) << c.what;
            EXPECT_EQ(x.g, c.expected.g) << c.what;
            EXPECT_EQ(x.b, c.expected.b) << c.what;
            EXPECT_EQ(x.t, c.expected.t) << c.what;
        } else {
            // One single-precision rounding of a value near 1.
            EXPECT_NEAR(x.rf, c.expected.rf, 1e-7) << c.what;
            EXPECT_NEAR(x.gf, c.expected.gf, 1e-7) << c.what;
            EXPECT_NEAR(x.bf, c.expected.bf, 1e-7) << c.what;
            EXPECT_NEAR(x.tf, c.expected.tf, 1e-15) << c.what;  // products of exact halves and ones
        }
    }
}

// Hand calculations of truncate((v − v·s + v·s·w) · 255.5).
TEST(ColorFromHsv, Examples) {
    struct Case {
        double hue, saturation, value;
        std::uint8_t r, g, b;
    };
    const Case cases[] = {
        {0, 1, 1, 255, 0, 0},      {60, 1, 1, 255, 255, 0},   {120, 1, 1, 0, 255, 0},
        {180, 1, 1, 0, 255, 255},  {240, 1, 1, 0, 0, 255},    {300, 1, 1, 255, 0, 255},
        {-30, 1, 1, 255, 0, 127},  {330, 1, 1, 255, 0, 127},  {720, 1, 1, 255, 0, 0},
        {0, 0, 0.5, 127, 127, 127}, {0, 0.5, 1, 255, 127, 127}, {0, 2, 1, 255, 0, 0},
        {0, 1, -1, 0, 0, 0},       {90, 1, 1, 127, 255, 0},
    };
    for (const Case& c : cases) {
        Color color = Color::bytes(1, 2, 3, 4);
        color.fromHsv({c.hue, c.saturation, c.value});
        EXPECT_EQ(color.r, c.r) << "hue " << c.hue;
        EXPECT_EQ(color.g, c.g) << "hue " << c.hue;
        EXPECT_EQ(color.b, c.b) << "hue " << c.hue;
        EXPECT_EQ(color.t, 0);
        EXPECT_EQ(color.kind, ColorBytes);
    }
}

TEST(ColorFromCoverage, Examples) {
    const Color white = Color::bytes(255, 255, 255);
    const Color sample = Color::bytes(10, 200, 255, 40);
    struct Case {
        const Color* color;
        std::uint8_t coverage;
        std::uint8_t r, g, b, t;
    };
    const Case cases[] = {
        {&sample, 255, 10, 200, 255, 40},
        {&sample, 0, 0, 0, 0, 255},
        {&white, 128, 128, 128, 128, 127},
        {nullptr, 255, 0, 0, 0, 255},
        {nullptr, 77, 0, 0, 0, 255},
    };
    for (const Case& c : cases) {
        Color out = floats(1, 1, 1, 1);
        out.fromCoverage(c.color, c.coverage);
        EXPECT_EQ(out.kind, ColorBytes);
        EXPECT_EQ(out.r, c.r);
        EXPECT_EQ(out.g, c.g);
        EXPECT_EQ(out.b, c.b);
        EXPECT_EQ(out.t, c.t);
    }
}
