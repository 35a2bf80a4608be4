#include "FakeFontEngine.h"
#include "raster/Canvas.h"
#include "text/DrawText.h"
#include "text/TextRenderer.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

class DrawTextOnCanvas : public FakeFontTest {
protected:
    void makeCanvas(std::int16_t scale) {
        canvas.pixelFormat = PixelFormatRgbBytes;
        ASSERT_EQ(canvas.create(100, 40, scale), 1);
    }

    std::array<std::uint8_t, 3> pixel(std::int32_t x, std::int32_t y) const {
        const std::uint8_t* p =
            canvas.pixels.get() + 3 * (static_cast<std::size_t>(y) * canvas.width + x);
        return {p[0], p[1], p[2]};
    }
    bool inked(std::int32_t x, std::int32_t y) const { return pixel(x, y)[0] != 0; }

    Canvas canvas;
    const Color white = Color::bytes(255, 255, 255);
};

struct AlignmentCase {
    std::int16_t scale;
    std::int32_t x, y;
    std::int32_t left, bottom;  // the expected first inked canvas column and row
};

TEST_F(DrawTextOnCanvas, CentresAndAlignsToTheScale) {
    // "ab" at 24 is 24 × 24 text pixels with top offset 0.
    const AlignmentCase cases[] = {
        {2, 101, 11, 76, 10},  // 101 − 24 = 77, odd: moves one pixel left; 11 → 10
        {2, 100, 10, 76, 10},
        {1, 61, 11, 49, 11},   // 61 − 12 = 49 stays with a scale of 1
        {2, 1, 0, -22, 0},     // 1 − 24 = −23: the remainder −1 moves it right, to −22
    };
    for (const AlignmentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << " x " << c.x << " y " << c.y);
        makeCanvas(c.scale);
        EXPECT_EQ(drawText(canvas, c.x, c.y, u"ab", renderer, 24, white), 24);
        const std::int32_t right = c.left + c.scale * 24 - 1;
        const std::int32_t top = c.bottom + c.scale * 24 - 1;
        if (c.left > 0) {
            EXPECT_FALSE(inked(c.left - 1, c.bottom));
            EXPECT_TRUE(inked(c.left, c.bottom));
        }
        EXPECT_TRUE(inked(right, top));
        EXPECT_FALSE(inked(right + 1, top));
        EXPECT_FALSE(inked(right, top + 1));
        if (c.bottom > 0) {
            EXPECT_FALSE(inked(right, c.bottom - 1));
        }
    }
}

TEST_F(DrawTextOnCanvas, RaisedTextMovesTheBottomDown) {
    makeCanvas(2);
    // Top offset 2: the bottom row goes to 11 − 4 = 7, aligned down to 6. The image
    // is 26 rows; the letter's cell fills its lowest 24, the superscript (text
    // columns 12…18) its top 14.
    EXPECT_EQ(drawText(canvas, 100, 11, u"x\uE0002", renderer, 24, white), 20);
    EXPECT_FALSE(inked(80, 5));
    EXPECT_TRUE(inked(80, 6));
    EXPECT_TRUE(inked(80, 6 + 2 * 24 - 1));
    EXPECT_FALSE(inked(80, 6 + 2 * 24));
    EXPECT_TRUE(inked(80 + 2 * 12, 6 + 2 * 26 - 1));
    EXPECT_FALSE(inked(80 + 2 * 12, 6 + 2 * 26));
}

TEST_F(DrawTextOnCanvas, GreenCoverageWeightsTheColour) {
    makeCanvas(1);
    const Color orange = Color::bytes(200, 100, 50);
    drawText(canvas, 50, 0, u"ag", renderer, 24, orange);
    // Full coverage: the colour itself. Coverage 128: each channel c·128/255, then
    // blended at transparency 127 over black: (c·128/255)·128/255.
    const std::array<std::uint8_t, 3> full = {200, 100, 50};
    const std::array<std::uint8_t, 3> half = {50, 25, 12};
    EXPECT_EQ(pixel(38, 5), full);
    EXPECT_EQ(pixel(50, 5), half);
}

TEST_F(DrawTextOnCanvas, NothingToDrawLeavesTheCanvas) {
    makeCanvas(2);
    EXPECT_EQ(drawText(canvas, 100, 40, u"abc", renderer, 1, white), 0);
    record->failBitmaps = true;
    EXPECT_EQ(drawText(canvas, 100, 40, u"abc", renderer, 24, white), 0);
    for (std::int32_t i = 0; i < canvas.width * canvas.height * 3; ++i) {
        ASSERT_EQ(canvas.pixels[i], 0);
    }
}

}  // namespace
