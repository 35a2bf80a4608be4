#include "image/Image.h"
#include "raster/Canvas.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using imagetest::Bytes;
using imagetest::bytesOf;

namespace {

// 3 × 2 grey picture, top row 1, 2, 3 and bottom row 4, 5, 6.
void smallGrey(Image& image) { imagetest::fill(image, 3, 2, 1, {1, 2, 3, 4, 5, 6}); }

TEST(ImagePixel, ClampsToTheEdgeAndReportsIt) {
    Image image;
    smallGrey(image);
    struct Case {
        int x, y;
        int level;  // the grey of the pixel actually read
        int result;
    };
    // Row y = 0 is the bottom row (4, 5, 6), y = 1 the top row (1, 2, 3).
    const Case cases[] = {
        {0, 0, 4, 1},  {2, 0, 6, 1},  {1, 1, 2, 1},   {-5, 1, 1, 0},  {3, 2, 3, 0},
        {1, -1, 5, 0}, {1, 9, 2, 0},  {-1, -1, 4, 0}, {99, -7, 6, 0},
    };
    for (const Case& c : cases) {
        Color out = imagetest::junk();
        EXPECT_EQ(image.getPixel(c.x, c.y, out), c.result) << c.x << ", " << c.y;
        EXPECT_EQ(bytesOf(out), (Bytes{c.level, c.level, c.level, 0})) << c.x << ", " << c.y;
        EXPECT_EQ(out.kind, ColorBytes);
    }
}

TEST(ImagePixel, ChannelOrders) {
    struct Case {
        int channels;
        std::vector<std::uint8_t> stored;
        Bytes expected;
    };
    // Stored blue, green, red; a fourth byte is straight alpha and becomes the
    // transparency 255 - alpha.
    const Case cases[] = {
        {1, {77}, {77, 77, 77, 0}},
        {3, {10, 20, 30}, {30, 20, 10, 0}},
        {4, {10, 20, 30, 255}, {30, 20, 10, 0}},
        {4, {10, 20, 30, 0}, {30, 20, 10, 255}},
        {4, {10, 20, 30, 100}, {30, 20, 10, 155}},
    };
    for (const Case& c : cases) {
        Image image;
        imagetest::fill(image, 1, 1, c.channels, c.stored);
        Color out = imagetest::junk();
        EXPECT_EQ(image.getPixel(0, 0, out), 1);
        EXPECT_EQ(bytesOf(out), c.expected) << c.channels << " channels";
    }
}

TEST(ImagePixel, ImageWithoutContentAnswersZeroWhateverItsSize) {
    Image image;
    smallGrey(image);
    image.release();
    // Geometry survives release; only valid tells that nothing can be read.
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.kind, ImagePixels);
    EXPECT_FALSE(image.pixelStore);
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 1}, {-3, 8}}) {
        Color out = imagetest::junk();
        EXPECT_EQ(image.getPixel(x, y, out), 0);
        EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(out.kind, ColorBytes);
    }
    image.release();  // twice is harmless
    EXPECT_EQ(image.valid, 0);
}

TEST(ImagePixel, FitsValuesBecomeWrappedBytes) {
    // The low 8 bits of value × 255.5 truncated toward zero.
    const std::pair<double, int> cases[] = {
        {1.0, 255},
        {0.5, 127},
        {0.0, 0},
        {-0.5, 129},              // -127.75 → -127 → 0x81
        {-56.0 / 127.0, 144},     // a signed byte 200 read as -56: -112.66 → -112
        {2.0, 255},               // 511 → 0xFF
        {1.5, 127},               // 383.25 → 383 → 0x7F
        {8405024.0, 240},         // 2147483632, just inside the 32-bit range: 0x7FFFFFF0
        {8405025.0, 0},           // 2147483887.5, beyond 2^31 - 1
        {-8405024.0, 16},         // -2147483632: 0x80000010
        {-8405025.0, 0},          // below -2^31
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(fitsByte(value), expected) << value;
    }
}

class FromCanvas : public ::testing::Test {
protected:
    void make(std::int32_t w, std::int32_t h, std::int16_t scale) {
        canvas.pixelFormat = PixelFormatRgbBytes;
        ASSERT_EQ(canvas.create(w, h, scale), 1);
    }
    Canvas canvas;
};

TEST_F(FromCanvas, CopiesTheDisplayPictureRightSideUp) {
    make(28, 28, 1);
    canvas.plot(3, 0, Color::bytes(200, 100, 50), DepthOff, 0.0);   // bottom row
    canvas.plot(5, 27, Color::bytes(1, 2, 3), DepthOff, 0.0);       // top row
    canvas.plot(27, 13, Color::bytes(9, 8, 7), DepthOff, 0.0);
    canvas.present();
    const auto image = Image::fromCanvas(canvas);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->valid, 1);
    EXPECT_EQ(image->kind, ImagePixels);
    EXPECT_EQ(image->width, 28);
    EXPECT_EQ(image->height, 28);
    EXPECT_EQ(image->channels, 3);
    EXPECT_EQ(image->stride, 84);
    Color out;
    EXPECT_EQ(image->getPixel(3, 0, out), 1);
    EXPECT_EQ(bytesOf(out), (Bytes{200, 100, 50, 0}));
    image->getPixel(5, 27, out);
    EXPECT_EQ(bytesOf(out), (Bytes{1, 2, 3, 0}));
    image->getPixel(27, 13, out);
    EXPECT_EQ(bytesOf(out), (Bytes{9, 8, 7, 0}));
    image->getPixel(4, 0, out);
    EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
}

TEST_F(FromCanvas, TakesTheDisplaySizeOfASupersampledCanvas) {
    // 7 × 3 logical widens to 8 × 3; scale 2 makes a 16 × 6 store shown as 8 × 3.
    make(7, 3, 2);
    canvas.plot(14, 4, Color::bytes(200, 40, 0), DepthOff, 0.0);
    canvas.plot(15, 4, Color::bytes(200, 40, 0), DepthOff, 0.0);
    canvas.present();
    const auto image = Image::fromCanvas(canvas);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(image->stride, 24);
    Color out;
    image->getPixel(7, 2, out);  // the block of store pixels (14…15, 4…5): half covered
    EXPECT_EQ(bytesOf(out), (Bytes{100, 20, 0, 0}));
}

// Before the first present there is no snapshot; after presenting an empty
// canvas there is no pixel for getPixel to clamp to: the snapshot exists but is
// not valid.
TEST_F(FromCanvas, NoSnapshotBeforePresentAndNoContentFromAnEmptyCanvas) {
    make(28, 28, 1);
    EXPECT_EQ(Image::fromCanvas(canvas), nullptr);
    make(0, 0, 1);
    canvas.present();
    const auto image = Image::fromCanvas(canvas);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->valid, 0);
    Color out = imagetest::junk();
    EXPECT_EQ(image->getPixel(0, 0, out), 0);
    EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
}

}  // namespace
