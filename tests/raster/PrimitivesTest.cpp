#include "raster/Primitives.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// A small three-byte canvas whose painted pixels (red channel not 0) can be read
// back as a set.
struct TestCanvas {
    Canvas canvas;
    TestCanvas(int w, int h) {
        canvas.pixelFormat = PixelFormatRgbBytes;
        EXPECT_EQ(canvas.create(w, h, 1), 1);
    }
    PixelSet painted() const {
        PixelSet result;
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                if (canvas.pixels[3 * (y * canvas.width + x)] != 0) {
                    result.insert({x, y});
                }
            }
        }
        return result;
    }
    // Columns painted in one row, as a set.
    std::set<int> row(int y) const {
        std::set<int> result;
        for (const auto& [x, py] : painted()) {
            if (py == y) {
                result.insert(x);
            }
        }
        return result;
    }
};

std::set<int> columns(int from, int to) {
    std::set<int> result;
    for (int x = from; x <= to; ++x) {
        result.insert(x);
    }
    return result;
}

const Color white = Color::bytes(255, 255, 255);

}  // namespace

// Worked examples of the four clipping steps on an 8 × 8 canvas; W and H are 8.
TEST(ClipLine, Steps) {
    struct Case {
        const char* what;
        int in[4];
        std::int32_t result;
        int out[4];
    };
    const Case cases[] = {
        {"inside unchanged", {1, 2, 6, 5}, 1, {1, 2, 6, 5}},
        {"horizontal across", {-10, 5, 10, 5}, 1, {0, 5, 7, 5}},
        {"start left, t = 0.5", {-4, 0, 4, 4}, 1, {0, 2, 4, 4}},
        {"start right: edge at W, set to W − 1", {12, 0, 4, 4}, 1, {7, 2, 4, 4}},
        {"crossing with x = W, not W − 1", {10, 0, 0, 10}, 1, {7, 2, 1, 7}},
        {"start below", {0, -4, 4, 4}, 1, {2, 0, 4, 4}},
        {"start above", {0, 12, 4, 4}, 1, {2, 7, 4, 4}},
        {"end right", {4, 4, 12, 0}, 1, {4, 4, 7, 2}},
        {"end left", {4, 4, -4, 0}, 1, {4, 4, 0, 2}},
        {"end above", {4, 4, 0, 12}, 1, {4, 4, 2, 7}},
        {"end below", {4, 4, 0, -4}, 1, {4, 4, 2, 0}},
        {"wholly left", {-5, 1, -1, 6}, 0, {-5, 1, -1, 6}},
        {"wholly above", {1, 9, 6, 20}, 0, {1, 8, 6, 20}},
        {"vertical left of canvas", {-3, 0, -3, 7}, 0, {-3, 0, -3, 7}},
        // The interpolated y truncates toward zero: 3 · (7/10) = 2.1 → 2.
        {"truncated crossing", {-7, 0, 3, 3}, 1, {0, 2, 3, 3}},
        // Moving the start onto y = 0 puts it at x = W, and clipping the end
        // later does not bring it back.
        {"start may end outside", {6, -10, 10, 10}, 1, {8, 0, 7, 0}},
    };
    TestCanvas target(8, 8);
    for (const Case& c : cases) {
        std::int32_t x0 = c.in[0], y0 = c.in[1], x1 = c.in[2], y1 = c.in[3];
        EXPECT_EQ(clipLine(target.canvas, x0, y0, x1, y1), c.result) << c.what;
        if (c.result == 1) {
            EXPECT_EQ(x0, c.out[0]) << c.what;
            EXPECT_EQ(y0, c.out[1]) << c.what;
            EXPECT_EQ(x1, c.out[2]) << c.what;
            EXPECT_EQ(y1, c.out[3]) << c.what;
        }
    }
}

TEST(Line, Examples) {
    struct Case {
        const char* what;
        int x0, y0, x1, y1;
        std::size_t count;
    };
    const Case cases[] = {
        {"single point draws nothing", 2, 3, 2, 3, 0},
        {"clipped horizontal", -10, 5, 10, 5, 8},
        {"wholly left", -10, 1, -2, 6, 0},
        {"diagonal", 0, 0, 7, 7, 8},
        {"steep", 1, 0, 2, 7, 8},
        {"reversed", 7, 7, 0, 0, 8},
    };
    for (const Case& c : cases) {
        TestCanvas target(8, 8);
        line(target.canvas, c.x0, c.y0, c.x1, c.y1, white);
        EXPECT_EQ(target.painted().size(), c.count) << c.what;
    }
}

// Offsets from the start truncate toward zero: from (0, 0) to (4, 3) the
// intermediate rows are 3·3/4 = 2, 3·2/4 = 1, 3·1/4 = 0; toward negative y
// they truncate up.
TEST(Line, IntermediatePixelsLeanToTheStart) {
    struct Case {
        int x0, y0, x1, y1;
        PixelSet pixels;
    };
    const Case cases[] = {
        {0, 0, 3, 1, {{3, 1}, {2, 0}, {1, 0}, {0, 0}}},
        {0, 0, 4, 3, {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 3}}},
        {0, 7, 4, 4, {{0, 7}, {1, 7}, {2, 6}, {3, 5}, {4, 4}}},
    };
    for (const Case& c : cases) {
        TestCanvas target(8, 8);
        line(target.canvas, c.x0, c.y0, c.x1, c.y1, white);
        EXPECT_EQ(target.painted(), c.pixels) << c.x1 << ", " << c.y1;
    }
}

// 50000 columns: dx·k exceeds 32 bits on the way.
TEST(Line, WideCanvasDoesNotOverflow) {
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    ASSERT_EQ(canvas.create(50000, 2, 1), 1);
    line(canvas, 0, 0, 49999, 1, white);
    EXPECT_EQ(canvas.pixels[3 * 25000], 255);
    EXPECT_EQ(canvas.pixels[3 * (50000 + 25000)], 0);
    EXPECT_EQ(canvas.pixels[3 * (50000 + 49999)], 255);
}

TEST(FillRect, Examples) {
    struct Case {
        const char* what;
        int x0, y0, x1, y1;
        int left, bottom, right, top;  // expected filled box; left > right for none
    };
    const Case cases[] = {
        {"equal x draws nothing", 3, 3, 3, 9, 1, 1, 0, 0},
        {"corners swapped", 5, 9, 2, 3, 2, 3, 5, 9},
        {"wholly right clamps and draws nothing", 20, 1, 30, 5, 1, 1, 0, 0},
        {"clamped to the canvas", -5, -5, 30, 2, 0, 0, 7, 2},
    };
    for (const Case& c : cases) {
        TestCanvas target(8, 12);
        fillRect(target.canvas, c.x0, c.y0, c.x1, c.y1, white);
        PixelSet expected;
        for (int y = c.bottom; y <= c.top && c.left <= c.right; ++y) {
            for (int x = c.left; x <= c.right; ++x) {
                expected.insert({x, y});
            }
        }
        EXPECT_EQ(target.painted(), expected) << c.what;
    }
}

TEST(FillRect, MarksCoveredPixelsFarthest) {
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    canvas.depthFormat = DepthFormatDouble;
    ASSERT_EQ(canvas.create(4, 4, 1), 1);
    ASSERT_EQ(canvas.writePixel(1, 1, white, DepthTest, 2.0), 1);
    fillRect(canvas, 0, 0, 3, 3, Color::bytes(5, 5, 5));
    EXPECT_EQ(canvas.pixels[3 * 5], 5);
    EXPECT_EQ(canvas.writePixel(1, 1, white, DepthTest, 3.0), 1);
}

TEST(Span, Examples) {
    TestCanvas target(8, 4);
    span(target.canvas, 5, 2, 1, white);
    EXPECT_TRUE(target.painted().empty());
    span(target.canvas, 3, 3, 1, white);
    EXPECT_EQ(target.painted(), (PixelSet{{3, 1}}));
    span(target.canvas, -2, 20, 2, white);
    EXPECT_EQ(target.row(2), columns(0, 7));
}

// Rows of the fill, worked by hand from the edge crossings.
TEST(Triangle, FilledRows) {
    TestCanvas target(8, 16);
    triangle(target.canvas, 0, 0, 10, 0, 0, 10, white, 1);
    EXPECT_EQ(target.row(0), columns(0, 7));   // 0 … 10, cut at W − 1
    EXPECT_EQ(target.row(5), columns(0, 5));   // 10 − truncate(10 · 0.5)
    EXPECT_EQ(target.row(7), columns(0, 3));   // 10 − truncate(10 · 0.7)
    EXPECT_EQ(target.row(9), columns(0, 1));
    EXPECT_TRUE(target.row(10).empty());       // xl = xr = 0
    EXPECT_TRUE(target.row(11).empty());
}

TEST(Triangle, FilledEdgeCases) {
    TestCanvas flat(8, 8);
    triangle(flat.canvas, 0, 3, 5, 3, 7, 3, white, 1);
    EXPECT_TRUE(flat.painted().empty());

    TestCanvas below(8, 8);
    triangle(below.canvas, 2, -9, 6, -9, 4, -2, white, 1);
    EXPECT_TRUE(below.painted().empty());

    // Vertices above and beside the canvas: rows stop at H − 1, columns at 0.
    TestCanvas big(8, 8);
    triangle(big.canvas, -20, -20, 40, -20, 10, 40, white, 1);
    EXPECT_EQ(big.painted().size(), 64u);
}

TEST(Triangle, OutlineIsThreeSegments) {
    TestCanvas flat(8, 8);
    triangle(flat.canvas, 0, 3, 5, 3, 7, 3, white, 0);
    EXPECT_EQ(flat.row(3), columns(0, 7));

    TestCanvas outline(8, 8);
    triangle(outline.canvas, 0, 0, 6, 0, 0, 6, white, 0);
    PixelSet expected;
    for (int i = 0; i <= 6; ++i) {
        expected.insert({i, 0});
        expected.insert({0, i});
        expected.insert({6 - i, i});
    }
    EXPECT_EQ(outline.painted(), expected);
}
