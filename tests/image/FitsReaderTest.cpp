#include "image/RasterFile.h"

#include "FitsTestCards.h"
#include "RasterFileTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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

}  // namespace

// The header fills whole 2880-byte blocks of 36 cards.
TEST(FitsReader, DataStartAtTheBlockAfterTheEndCard) {
    struct Case {
        int fillerCards;  // cards between NAXIS2 and END
        std::int32_t dataOffset;
    };
    // END is card 10, 36 and 37.
    for (const Case& c : {Case{4, 2880}, Case{30, 2880}, Case{31, 5760}}) {
        ScratchFile file("blocks.fits", fitstest::header(8, 2, 1, c.fillerCards) + bytesOf({127, 200}));
        RasterFile raster;
        ASSERT_EQ(raster.openFits(file.path), 1) << c.fillerCards;
        EXPECT_EQ(raster.dataOffset, c.dataOffset) << c.fillerCards;
        EXPECT_EQ(raster.fitsValue(0, 0), 1.0) << c.fillerCards;
    }
}

// Big-endian samples, integers scaled by the reciprocal of their largest value.
TEST(FitsReader, ConvertsEverySampleType) {
    struct Case {
        long long bitpix;
        std::string sample;
        double expected;
    };
    const Case cases[] = {
        {8, bytesOf({127}), 1.0},
        {8, bytesOf({200}), -56 * 0.007874015748031496},
        {8, bytesOf({128}), -128 * 0.007874015748031496},
        {16, bytesOf({0x7F, 0xFF}), 1.0},
        {16, bytesOf({0x80, 0x00}), -32768 * 3.051850947599719e-05},
        {16, bytesOf({0x12, 0x34}), 0x1234 * 3.051850947599719e-05},
        {32, bytesOf({0x7F, 0xFF, 0xFF, 0xFF}), 2147483647 * 4.656612875245797e-10},
        {32, bytesOf({0xFF, 0xFF, 0xFF, 0xFE}), -2 * 4.656612875245797e-10},
        {-32, bytesOf({0x3F, 0x00, 0x00, 0x00}), 0.5},
        {-32, bytesOf({0xC0, 0x49, 0x0F, 0xDB}), static_cast<double>(-3.14159274f)},
        {-64, bytesOf({0x3F, 0xF8, 0, 0, 0, 0, 0, 0}), 1.5},
        {-64, bytesOf({0xC0, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18}), -3.141592653589793},
    };
    for (const Case& c : cases) {
        // The sample of interest is (1, 1) in a 2 × 2 image whose other samples are 0.
        const std::string zero(c.sample.size(), '\0');
        ScratchFile file("types.fits", fitstest::header(c.bitpix, 2, 2) + zero + zero + zero + c.sample);
        RasterFile raster;
        ASSERT_EQ(raster.openFits(file.path), 1) << c.bitpix;
        EXPECT_EQ(raster.fitsValue(1, 1), c.expected) << c.bitpix;
        EXPECT_EQ(raster.fitsValue(0, 1), 0.0) << c.bitpix;
    }
}

TEST(FitsReader, OutsideTheImageReadsZero) {
    ScratchFile file("outside.fits", fitstest::header(8, 2, 2) + bytesOf({100, 100, 100, 100}));
    RasterFile raster;
    ASSERT_EQ(raster.openFits(file.path), 1);
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{2, 0}, std::pair{0, 2},
                        std::pair{INT32_MAX, INT32_MAX}, std::pair{INT32_MIN, 0}}) {
        EXPECT_EQ(raster.fitsValue(x, y), 0.0) << x << "," << y;
    }
    EXPECT_NE(raster.fitsValue(1, 1), 0.0);
    RasterFile unopened;
    EXPECT_EQ(unopened.fitsValue(0, 0), 0.0);
}

TEST(FitsReader, RefusalsAndTheirMessages) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;  // empty: refused without a message
    };
    const std::string simple = fitstest::card("SIMPLE  =                    T");
    const Case cases[] = {
        {"not SIMPLE first", fitstest::card("XTENSION= 'IMAGE   '") + fitstest::card("END"),
         "Not a valid FITS file"},
        {"shorter than a card", "SIMPLE  =", "Not a valid FITS file"},
        {"no END card", simple + fitstest::valueCard("BITPIX", 8), "Not a valid FITS file"},
        {"BITPIX 64", fitstest::header(64, 1, 1) + std::string(8, '\0'), "FITS Unsupported Data Type"},
        {"BITPIX 12", fitstest::header(12, 1, 1) + std::string(8, '\0'), "FITS Unsupported Data Type"},
        {"no BITPIX", simple + fitstest::valueCard("NAXIS", 2) + fitstest::card("END"),
         "FITS Unsupported Data Type"},
        {"BITPIX 64 with three axes", fitstest::header(64, 1, 1, 0, 3), "FITS Unsupported Data Type"},
        {"three axes", fitstest::header(16, 1, 1, 0, 3) + std::string(2, '\0'), ""},
        {"no axes", fitstest::header(16, 1, 1, 0, 0), ""},
        {"data cut short", fitstest::header(16, 2, 2) + std::string(7, '\0'), "Not a valid FITS file"},
        {"no data", fitstest::header(8, 1, 1), "Not a valid FITS file"},
        {"width 0", fitstest::header(8, 0, 1) + std::string(1, '\0'), "Not a valid FITS file"},
        {"negative height", fitstest::header(8, 1, -1) + std::string(1, '\0'), "Not a valid FITS file"},
        {"width beyond 32 bits", fitstest::header(8, 4294967297LL, 1) + std::string(1, '\0'),
         "Not a valid FITS file"},
        {"product beyond 64 bits", fitstest::header(-64, 2147483647, 2147483647) + std::string(8, '\0'),
         "Not a valid FITS file"},
    };
    for (const Case& c : cases) {
        ScratchFile file("refused.fits", c.bytes);
        MessageRecorder recorder;
        RasterFile raster;
        EXPECT_EQ(raster.openFits(file.path), 0) << c.what;
        if (c.message.empty()) {
            EXPECT_TRUE(recorder.messages().empty()) << c.what;
        } else {
            ASSERT_EQ(recorder.messages().size(), 1u) << c.what;
            EXPECT_EQ(recorder.messages()[0], c.message + "|" + platform::utf8FromPath(file.path)) << c.what;
        }
    }
}

TEST(FitsReader, UnreadableFilesFailWithoutAMessage) {
    ScratchFile empty("empty.fits", "");
    MessageRecorder recorder;
    RasterFile raster;
    EXPECT_EQ(raster.openFits(empty.path), 0);
    EXPECT_EQ(raster.openFits(empty.path.string() + "-missing"), 0);
    EXPECT_TRUE(recorder.messages().empty());
}

// Files written by astropy (see tests/data/planetary/make-samples.py): sample
// (x, y) is a formula of x and y, row 0 written first.
TEST(FitsReader, ReadsFilesWrittenByAnotherWriter) {
    struct Case {
        const char* name;
        std::int32_t bits;
        double (*value)(int x, int y);
    };
    const Case cases[] = {
        {"bitpix8.fits", 8, [](int x, int y) { return static_cast<std::int8_t>(x * 50 + y * 2) * 0.007874015748031496; }},
        {"bitpix16.fits", 16, [](int x, int y) { return (x * 16383 - 32768 + y) * 3.051850947599719e-05; }},
        {"bitpix32.fits", 32,
         [](int x, int y) { return static_cast<double>(x * 1073741823LL - 2147483648LL + y) * 4.656612875245797e-10; }},
        {"bitpix-32.fits", -32, [](int x, int y) { return x * 0.25 - y * 0.5; }},
        {"bitpix-64.fits", -64, [](int x, int y) { return x * 0.125 + y * 3.0 - 1.0; }},
        {"long-header.fits", 16, [](int x, int y) { return (x + 10 * y) * 3.051850947599719e-05; }},
    };
    for (const Case& c : cases) {
        RasterFile raster;
        ASSERT_EQ(raster.openFits(rasterfiletest::sampleDir() / c.name), 1) << c.name;
        EXPECT_EQ(raster.sampleBits, c.bits) << c.name;
        EXPECT_EQ(raster.width, 5) << c.name;
        EXPECT_EQ(raster.height, 3) << c.name;
        EXPECT_EQ(raster.channels, 1) << c.name;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(raster.fitsValue(x, y), c.value(x, y)) << c.name << " at " << x << "," << y;
            }
        }
    }
    RasterFile longHeader;
    ASSERT_EQ(longHeader.openFits(rasterfiletest::sampleDir() / "long-header.fits"), 1);
    EXPECT_EQ(longHeader.dataOffset, 5760);
    MessageRecorder recorder;
    RasterFile cube;
    EXPECT_EQ(cube.openFits(rasterfiletest::sampleDir() / "cube.fits"), 0);
    EXPECT_TRUE(recorder.messages().empty());
}
