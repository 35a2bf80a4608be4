#include "image/DrawImage.h"

#include "image/Image.h"
#include "raster/Canvas.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

class DrawImage : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.pixelFormat = PixelFormatRgbBytes;
        ASSERT_EQ(canvas.create(80, 80, 1), 1);
    }

    const std::uint8_t* pixel(int x, int y) const {
        return canvas.pixels.get() + (static_cast<std::size_t>(y) * canvas.width + x) * 3;
    }

    // The pixels that are no longer black, and their bounding box.
    struct Coverage {
        int count = 0;
        int left = 1 << 30, right = -1, bottom = 1 << 30, top = -1;
        bool operator==(const Coverage&) const = default;
    };
    Coverage coverage() const {
        Coverage c;
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                const std::uint8_t* p = pixel(x, y);
                if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
                    ++c.count;
                    c.left = std::min(c.left, x);
                    c.right = std::max(c.right, x);
                    c.bottom = std::min(c.bottom, y);
                    c.top = std::max(c.top, y);
                }
            }
        }
        return c;
    }

    // A grey picture whose level depends on the column only.
    static void columns(Image& image, int width, int height, int (*level)(int column)) {
        std::vector<std::uint8_t> rows;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                rows.push_back(static_cast<std::uint8_t>(level(x)));
            }
        }
        imagetest::fill(image, width, height, 1, rows);
    }

    Canvas canvas;
};

TEST_F(DrawImage, StrongReductionAveragesBoxesOfTheFootprint) {
    // 100 × 50 into 50 × 50: 2 source pixels per canvas pixel on both axes,
    // hw = 25, hh = 12. Stripes 0, 250 average to 125 in every 2 × 2 box.
    Image image;
    columns(image, 100, 50, [](int x) { return x % 2 == 0 ? 0 : 250; });
    drawImage(canvas, 40, 40, 50, 50, image);
    // Column cx + 25 samples at x = 100, outside the image: 50 columns drawn.
    EXPECT_EQ(coverage(), (Coverage{50 * 25, 15, 64, 28, 52}));
    for (int y = 28; y <= 52; ++y) {
        for (int x = 15; x <= 64; ++x) {
            ASSERT_EQ(pixel(x, y)[0], 125) << x << ", " << y;
        }
    }
}

TEST_F(DrawImage, SlightReductionInterpolatesOverTheWholeBox) {
    // 20 × 20 into 21 × 21: scale 20/21 ≤ 1.1, hw = hh = 10, 21 × 21 pixels.
    Image image;
    columns(image, 20, 20, [](int x) { return 10 * x + 5; });
    drawImage(canvas, 40, 40, 21, 21, image);
    EXPECT_EQ(coverage(), (Coverage{21 * 21, 30, 50, 30, 50}));
    // The centre samples (10, 10), midway between the centres of columns 9 (95)
    // and 10 (105): the parabola gives 100; a box would read column 10 alone.
    EXPECT_EQ(pixel(40, 40)[0], 100);
}

TEST_F(DrawImage, BoxWithoutAreaOrImageWithoutPixelsDrawsNothing) {
    Image image;
    columns(image, 20, 20, [](int) { return 200; });
    const std::pair<int, int> extents[] = {{0, 21}, {21, 0}, {0, 0}, {-21, 21}, {21, -21}, {-5, -5}};
    for (const auto& [dw, dh] : extents) {
        drawImage(canvas, 40, 40, dw, dh, image);
        EXPECT_EQ(coverage().count, 0) << dw << " × " << dh;
    }
    image.release();
    drawImage(canvas, 40, 40, 21, 21, image);
    EXPECT_EQ(coverage().count, 0);
}

TEST_F(DrawImage, SkipsPixelsOffTheCanvasAndOutsideTheClipShape) {
    Image image;
    columns(image, 20, 20, [](int) { return 200; });
    drawImage(canvas, 0, 79, 21, 21, image);
    EXPECT_EQ(coverage(), (Coverage{11 * 11, 0, 10, 69, 79}));

    ASSERT_EQ(canvas.create(80, 80, 1), 1);
    // A rectangle clip of half extents 2 lets through 7 × 7 pixels.
    canvas.clipShape = ClipRectangle;
    canvas.clipCenterX = 40;
    canvas.clipCenterY = 40;
    canvas.clipHalfWidth = 2;
    canvas.clipHalfHeight = 2;
    drawImage(canvas, 40, 40, 21, 21, image);
    EXPECT_EQ(coverage(), (Coverage{7 * 7, 37, 43, 37, 43}));
}

TEST_F(DrawImage, OpaqueAlphaShowsAndClearAlphaLeavesTheCanvas) {
    // Four-channel pictures carry straight alpha: 255 must draw the colour, 0
    // must leave what is underneath.
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            canvas.plot(x, y, Color::bytes(9, 9, 9), DepthOff, 0.0);
        }
    }
    for (const auto& [alpha, shown] : {std::pair{0, "\x09\x09\x09"}, {255, "\xC8\x64\x32"}}) {
        Image image;
        std::vector<std::uint8_t> rows;
        for (int k = 0; k < 16; ++k) {
            rows.insert(rows.end(), {50, 100, 200, static_cast<std::uint8_t>(alpha)});
        }
        imagetest::fill(image, 4, 4, 4, rows);
        drawImage(canvas, 40, 40, 4, 4, image);
        for (int y = 38; y <= 41; ++y) {
            for (int x = 38; x <= 41; ++x) {
                EXPECT_EQ(std::memcmp(pixel(x, y), shown, 3), 0) << alpha << ": " << x << ", " << y;
            }
        }
    }
}

TEST_F(DrawImage, WritesTheFarthestDepth) {
    canvas.depthFormat = DepthFormatDouble;
    ASSERT_EQ(canvas.create(80, 80, 1), 1);
    canvas.writePixel(40, 40, Color::bytes(1, 1, 1), DepthTest, 5.0);
    Image image;
    columns(image, 20, 20, [](int) { return 200; });
    drawImage(canvas, 40, 40, 21, 21, image);
    double depth = 0.0;
    std::memcpy(&depth, canvas.depth.get() + (40 * canvas.width + 40) * sizeof(double),
                sizeof depth);
    EXPECT_EQ(depth, 1.0e30);
    EXPECT_EQ(pixel(40, 40)[0], 200);
}

}  // namespace

// Bands of rows, cut anywhere and drawn in any order, leave the canvas as one
// drawImage does, for an interpolated and for a box-averaged picture.
TEST_F(DrawImage, BandsOfRowsDrawWhatOneCallDraws) {
    Image image;
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < 37; ++y) {
        for (int x = 0; x < 41; ++x) {
            rows.push_back(static_cast<std::uint8_t>(x * 7 + y * 13));
        }
    }
    imagetest::fill(image, 41, 37, 1, rows);
    for (const int size : {41, 20}) {
        Canvas whole;
        whole.pixelFormat = PixelFormatRgbBytes;
        ASSERT_EQ(whole.create(80, 80, 1), 1);
        drawImage(whole, 40, 38, size, size, image);
        canvas.clear();
        drawImageRows(canvas, 40, 38, size, size, image, 45, 200);
        drawImageRows(canvas, 40, 38, size, size, image, -10, 29);
        drawImageRows(canvas, 40, 38, size, size, image, 30, 44);
        ASSERT_EQ(std::memcmp(canvas.pixels.get(), whole.pixels.get(), 80 * 80 * 3), 0) << size;
        canvas.clear();
        drawImageRows(canvas, 40, 38, size, size, image, 30, 44);
        EXPECT_EQ(coverage().bottom, 30) << size;
        EXPECT_EQ(coverage().top, 44) << size;
    }
}

// The drawing in blocks covers the box the fine one covers, enlarging or
// reducing; each block of the canvas's grid takes one colour; and the colours
// run smoothly from the picture's first column to its last, without the
// steps of repeated pixels an enlargement by the nearest one shows.
TEST_F(DrawImage, InBlocksCoversTheSameBoxWithOneSmoothColourABlock) {
    Image image;
    columns(image, 20, 20, [](int x) { return 10 * x + 5; });
    for (const int side : {62, 13}) {
        ASSERT_EQ(canvas.create(80, 80, 1), 1);
        drawImage(canvas, 40, 40, side, side, image);
        const Coverage fine = coverage();
        ASSERT_EQ(canvas.create(80, 80, 1), 1);
        drawImageRowsInBlocks(canvas, 40, 40, side, side, image, 0, 79, 2);
        const Coverage blocks = coverage();
        EXPECT_LE(std::abs(blocks.left - fine.left), 1) << side;
        EXPECT_LE(std::abs(blocks.right - fine.right), 1) << side;
        EXPECT_LE(std::abs(blocks.bottom - fine.bottom), 1) << side;
        EXPECT_LE(std::abs(blocks.top - fine.top), 1) << side;
        for (int x = blocks.left; x <= blocks.right; ++x) {
            EXPECT_EQ(pixel(x, 40)[0], pixel(x, 41)[0]) << side << ": " << x;
            if (x % 2 == 1 && x > blocks.left) {
                EXPECT_EQ(pixel(x, 40)[0], pixel(x - 1, 40)[0]) << side << ": " << x;
            }
            // Enlarged three times over, the columns 10 apart take the steps
            // between them: each block in the middle is brighter than the last.
            if (side == 62 && x % 2 == 0 && x >= 24 && x <= 56) {
                EXPECT_GT(pixel(x, 40)[0], pixel(x - 2, 40)[0]) << x;
            }
        }
    }
}
