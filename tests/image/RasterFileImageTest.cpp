#include "image/Image.h"
#include "image/RasterFile.h"

#include "FitsTestCards.h"
#include "RasterFileTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

using rasterfiletest::MessageRecorder;
using rasterfiletest::ScratchFile;

namespace {

std::string bytesOf(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

std::uint8_t greyAt(const Image& image, std::int32_t x, std::int32_t y) {
    Color c;
    image.getPixel(x, y, c);
    EXPECT_EQ(c.r, c.g);
    EXPECT_EQ(c.r, c.b);
    EXPECT_EQ(c.t, 0);
    return c.r;
}

}  // namespace

// The grey byte of a FITS sample: value × 255.5, truncated, low 8 bits.
TEST(RasterFileImage, FitsSamplesBecomeGreyBytes) {
    struct Case {
        long long bitpix;
        std::string sample;
        std::uint8_t grey;
    };
    const Case cases[] = {
        {-32, bytesOf({0x3F, 0x00, 0x00, 0x00}), 127},             // 0.5
        {-32, bytesOf({0xBF, 0x00, 0x00, 0x00}), 129},             // -0.5 wraps
        {-64, bytesOf({0x3F, 0xF0, 0, 0, 0, 0, 0, 0}), 255},       // 1.0
        {16, bytesOf({0x7F, 0xFF}), 255},                          // 32767
        {8, bytesOf({127}), 255},
        {8, bytesOf({200}), 144},                                  // -56 gives -112, wrapped
        {-32, bytesOf({0x7F, 0xC0, 0x00, 0x00}), 0},               // NaN
        {-64, bytesOf({0x42, 0x30, 0, 0, 0, 0, 0, 0}), 0},         // 2^36: beyond 32 bits
    };
    for (const Case& c : cases) {
        ScratchFile file("grey.fits", fitstest::header(c.bitpix, 1, 1) + c.sample);
        Image image;
        ASSERT_EQ(image.load(file.path), 1) << c.bitpix;
        EXPECT_EQ(image.kind, ImageFits);
        EXPECT_EQ(greyAt(image, 0, 0), c.grey) << c.bitpix;
    }
}

TEST(RasterFileImage, LoadsTheSampleFilesAndClampsCoordinates) {
    Image fits;
    ASSERT_EQ(fits.load(rasterfiletest::sampleDir() / "bitpix-32.fits"), 1);
    EXPECT_EQ(fits.width, 5);
    EXPECT_EQ(fits.height, 3);
    EXPECT_EQ(fits.channels, 1);
    // (4, 0) holds 1.0; (1, 0) holds 0.25, which gives 63.
    EXPECT_EQ(greyAt(fits, 4, 0), 255);
    EXPECT_EQ(greyAt(fits, 1, 0), 63);
    Color c;
    EXPECT_EQ(fits.getPixel(99, -7, c), 0);
    EXPECT_EQ(c.r, 255);

    Image img;
    ASSERT_EQ(img.load(rasterfiletest::sampleDir() / "gray16.img"), 1);
    EXPECT_EQ(img.kind, ImagePdsImg);
    EXPECT_EQ(img.width, 5);
    EXPECT_EQ(img.height, 3);
    EXPECT_EQ(img.getPixel(4, 2, c), 1);
    EXPECT_EQ(c.r, (4 * 4660 + 2 * 256 + 7) >> 8);
    EXPECT_EQ(img.getPixel(5, 3, c), 0);
    EXPECT_EQ(c.r, (4 * 4660 + 2 * 256 + 7) >> 8);
    EXPECT_EQ(img.getPixel(-1, -1, c), 0);
    EXPECT_EQ(c.r, 7 >> 8);
}

TEST(RasterFileImage, RefusedFilesGiveAnInvalidImageAndOneMessage) {
    ScratchFile file("broken.IMG", "PDS_VERSION_ID = PDS3\nSAMPLE_BITS = 12\nEND\n");
    MessageRecorder recorder;
    Image image;
    EXPECT_EQ(image.load(file.path), 0);
    EXPECT_EQ(image.valid, 0);
    Color c;
    EXPECT_EQ(image.getPixel(0, 0, c), 0);
    EXPECT_EQ(c.r, 0);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0], "Unsupported Data Type|" + platform::utf8FromPath(file.path));
}

// Releasing the image closes its file, so the file can go (Windows refuses to
// delete a file that is still mapped).
TEST(RasterFileImage, ReleaseClosesTheFile) {
    auto file = std::make_unique<ScratchFile>("release.fits", fitstest::header(8, 1, 1) + bytesOf({5}));
    Image image;
    ASSERT_EQ(image.load(file->path), 1);
    ASSERT_NE(image.rasterFile, nullptr);
    EXPECT_TRUE(image.rasterFile->mapped.isOpen());
    image.release();
    EXPECT_EQ(image.rasterFile, nullptr);
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(file->path, error)) << error.message();
}
