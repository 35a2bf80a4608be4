#include "image/Image.h"
#include "image/RasterFile.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using imagetest::Bytes;
using imagetest::bytesOf;

namespace {

// The planetary samples of tests/data/planetary are 5 × 3; their first line in
// the file is the bottom row. The expected greys are worked out by hand from
// the formulas in that folder's README.
std::filesystem::path planetary(const char* name) {
    return std::filesystem::path(HORAVEL_TEST_DATA_DIR) / "planetary" / name;
}

struct Grey {
    int x, y, level, result;
};

void expectGreys(const Image& image, std::initializer_list<Grey> greys) {
    for (const Grey& g : greys) {
        Color out = imagetest::junk();
        EXPECT_EQ(image.getPixel(g.x, g.y, out), g.result) << g.x << ", " << g.y;
        EXPECT_EQ(bytesOf(out), (Bytes{g.level, g.level, g.level, 0})) << g.x << ", " << g.y;
    }
}

void expectRaster(const Image& image, int kind) {
    EXPECT_EQ(image.valid, 1);
    EXPECT_EQ(image.kind, kind);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.channels, 1);
    ASSERT_NE(image.rasterFile, nullptr);
    EXPECT_FALSE(image.pixelStore);
}

TEST(LoadRasterFiles, PdsImgPixelsAreReadInPlaceWithoutRowFlip) {
    Image image;
    ASSERT_EQ(image.load(planetary("gray8.img")), 1);
    expectRaster(image, ImagePdsImg);
    // Sample x·40 + y·3.
    expectGreys(image, {{0, 0, 0, 1}, {4, 0, 160, 1}, {1, 2, 46, 1}, {-1, 5, 6, 0}, {9, 1, 163, 0}});

    // 16 bits: the high byte of x·4660 + y·256 + 7.
    ASSERT_EQ(image.load(planetary("gray16.img")), 1);
    expectRaster(image, ImagePdsImg);
    expectGreys(image, {{0, 0, 0, 1}, {4, 2, 74, 1}, {1, 1, 19, 1}});
}

TEST(LoadRasterFiles, FitsValuesBecomeGreyBytes) {
    Image image;
    ASSERT_EQ(image.load(planetary("bitpix8.fits")), 1);
    expectRaster(image, ImageFits);
    // Byte x·50 + y·2 read as signed, / 127, then × 255.5 and wrapped: 102 →
    // 205; 150 is -106 → -213 → 43; 204 is -52 → -104 → 152.
    expectGreys(image, {{0, 0, 0, 1}, {2, 1, 205, 1}, {3, 0, 43, 1}, {4, 2, 152, 1}, {7, 7, 152, 0}});

    // Floats as stored: x·0.25 - y·0.5.
    ASSERT_EQ(image.load(planetary("bitpix-32.fits")), 1);
    expectRaster(image, ImageFits);
    expectGreys(image, {{2, 0, 127, 1}, {1, 1, 193, 1}, {4, 2, 0, 1}, {0, 2, 1, 1}});
}

TEST(LoadRasterFiles, ARefusedRasterStaysAttachedUntilRelease) {
    // A three-axis cube is refused without a message.
    Image image;
    EXPECT_EQ(image.load(planetary("cube.fits")), 0);
    EXPECT_EQ(image.valid, 0);
    EXPECT_EQ(image.kind, ImageFits);
    EXPECT_NE(image.rasterFile, nullptr);
    Color out = imagetest::junk();
    EXPECT_EQ(image.getPixel(0, 0, out), 0);
    EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
    image.release();
    EXPECT_EQ(image.rasterFile, nullptr);
}

}  // namespace
