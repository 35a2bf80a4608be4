#include "image/Image.h"
#include "image/RasterFile.h"

#include "FitsTestCards.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

using imagetest::Bytes;
using imagetest::MessageRecorder;
using imagetest::raw;
using imagetest::ScratchFile;

namespace {

// A label padded to recordBytes-byte records, then the samples.
std::string imgFile(const std::string& labelBody, int recordBytes, int labelRecords, const std::string& samples) {
    std::string label = "PDS_VERSION_ID = PDS3\n" + labelBody + "END\n";
    if (label.size() > static_cast<std::size_t>(recordBytes * labelRecords)) {
        ADD_FAILURE() << "the test label does not fit its records";
    }
    label.resize(static_cast<std::size_t>(recordBytes * labelRecords), ' ');
    return label + samples;
}

std::string geometry(int sampleBits, int width, int height, int recordBytes, int imageRecord) {
    return "RECORD_BYTES = " + std::to_string(recordBytes) + "\n^IMAGE = " + std::to_string(imageRecord) +
           "\nOBJECT = IMAGE\n  LINES = " + std::to_string(height) + "\n  LINE_SAMPLES = " +
           std::to_string(width) + "\n  SAMPLE_BITS = " + std::to_string(sampleBits) + "\nEND_OBJECT = IMAGE\n";
}

std::uint8_t grey(RasterFile& raster, std::int32_t x, std::int32_t y) {
    Color c = Color::bytes(0, 0, 0);
    EXPECT_EQ(raster.imgPixel(x, y, c), 1);
    EXPECT_EQ(imagetest::bytesOf(c), (Bytes{c.r, c.r, c.r, 0}));
    return c.r;
}

using Opener = std::int32_t (RasterFile::*)(const std::filesystem::path&);

}  // namespace

// The header fills whole 2880-byte blocks of 36 cards.
TEST(FitsReader, DataStartAtTheBlockAfterTheEndCard) {
    // END is card 10, 36 and 37.
    for (const auto& [fillerCards, dataOffset] : {std::pair{4, 2880}, {30, 2880}, {31, 5760}}) {
        ScratchFile file("blocks.fits", fitstest::header(8, 2, 1, fillerCards) + raw({127, 200}));
        RasterFile raster;
        ASSERT_EQ(raster.openFits(file.path), 1) << fillerCards;
        EXPECT_EQ(raster.dataOffset, dataOffset) << fillerCards;
        EXPECT_EQ(raster.fitsValue(0, 0), 1.0) << fillerCards;
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
        {8, raw({127}), 1.0},
        {8, raw({200}), -56 * 0.007874015748031496},
        {8, raw({128}), -128 * 0.007874015748031496},
        {16, raw({0x7F, 0xFF}), 1.0},
        {16, raw({0x80, 0x00}), -32768 * 3.051850947599719e-05},
        {16, raw({0x12, 0x34}), 0x1234 * 3.051850947599719e-05},
        {32, raw({0x7F, 0xFF, 0xFF, 0xFF}), 2147483647 * 4.656612875245797e-10},
        {32, raw({0xFF, 0xFF, 0xFF, 0xFE}), -2 * 4.656612875245797e-10},
        {-32, raw({0x3F, 0x00, 0x00, 0x00}), 0.5},
        {-32, raw({0xC0, 0x49, 0x0F, 0xDB}), static_cast<double>(-3.14159274f)},
        {-64, raw({0x3F, 0xF8, 0, 0, 0, 0, 0, 0}), 1.5},
        {-64, raw({0xC0, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18}), -3.141592653589793},
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

// The first line of samples is the bottom row; 16-bit samples are stored least
// significant byte first and the grey level is the upper byte. The second file's
// data area ends exactly with the file.
TEST(PdsImgReader, RecordsGiveTheDataOffset) {
    ScratchFile file("offset.img", imgFile(geometry(8, 3, 2, 1024, 3), 1024, 2, "\x01\x02\x03\x04\x05\x06"));
    RasterFile raster;
    ASSERT_EQ(raster.openImg(file.path), 1);
    EXPECT_EQ(raster.dataOffset, 2048);
    EXPECT_EQ(raster.width, 3);
    EXPECT_EQ(raster.height, 2);
    EXPECT_EQ(raster.sampleBits, 8);
    EXPECT_EQ(raster.channels, 1);
    EXPECT_EQ(grey(raster, 0, 0), 1);
    EXPECT_EQ(grey(raster, 2, 0), 3);
    EXPECT_EQ(grey(raster, 0, 1), 4);
    EXPECT_EQ(grey(raster, 2, 1), 6);

    ScratchFile sixteen("sixteen.img", imgFile(geometry(16, 2, 1, 256, 2), 256, 1, "\x34\x12\xFF\x80"));
    ASSERT_EQ(raster.openImg(sixteen.path), 1);
    EXPECT_EQ(grey(raster, 0, 0), 0x12);
    EXPECT_EQ(grey(raster, 1, 0), 0x80);
}

// Outside the image a FITS value reads 0 and an IMG pixel leaves the colour.
TEST(RasterFileReader, CoordinatesOutsideTheImage) {
    ScratchFile fitsFile("outside.fits", fitstest::header(8, 2, 2) + raw({100, 100, 100, 100}));
    ScratchFile imgFile2("outside.img", imgFile(geometry(8, 2, 2, 256, 2), 256, 1, "\x09\x09\x09\x09"));
    RasterFile fits;
    RasterFile img;
    ASSERT_EQ(fits.openFits(fitsFile.path), 1);
    ASSERT_EQ(img.openImg(imgFile2.path), 1);
    EXPECT_NE(fits.fitsValue(1, 1), 0.0);
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{2, 0}, std::pair{0, 2},
                        std::pair{INT32_MAX, INT32_MAX}, std::pair{INT32_MIN, 0}}) {
        EXPECT_EQ(fits.fitsValue(x, y), 0.0) << x << "," << y;
        Color c = Color::bytes(0, 0, 0);
        EXPECT_EQ(img.imgPixel(x, y, c), 1);
        EXPECT_EQ(c.r, 0) << x << "," << y;
    }
    RasterFile unopened;
    EXPECT_EQ(unopened.fitsValue(0, 0), 0.0);
    Color c = Color::bytes(0, 0, 0);
    EXPECT_EQ(unopened.imgPixel(0, 0, c), 1);
    EXPECT_EQ(c.r, 0);
}

TEST(RasterFileReader, RefusalsAndTheirMessages) {
    struct Case {
        const char* what;
        Opener open;
        std::string bytes;
        std::string message;  // empty: refused without a message
    };
    const Opener fits = &RasterFile::openFits;
    const Opener img = &RasterFile::openImg;
    const std::string simple = fitstest::card("SIMPLE  =                    T");
    const std::string four = "\x01\x02\x03\x04";
    const char* const notFits = "Not a valid FITS file";
    const char* const notImg = "Not a valid IMG file";
    const Case cases[] = {
        {"FITS empty", fits, "", ""},
        {"FITS not SIMPLE first", fits, fitstest::card("XTENSION= 'IMAGE   '") + fitstest::card("END"), notFits},
        {"FITS shorter than a card", fits, "SIMPLE  =", notFits},
        {"FITS no END card", fits, simple + fitstest::valueCard("BITPIX", 8), notFits},
        {"BITPIX 64", fits, fitstest::header(64, 1, 1) + std::string(8, '\0'), "FITS Unsupported Data Type"},
        {"BITPIX 12", fits, fitstest::header(12, 1, 1) + std::string(8, '\0'), "FITS Unsupported Data Type"},
        {"no BITPIX", fits, simple + fitstest::valueCard("NAXIS", 2) + fitstest::card("END"),
         "FITS Unsupported Data Type"},
        {"BITPIX 64 with three axes", fits, fitstest::header(64, 1, 1, 0, 3), "FITS Unsupported Data Type"},
        {"three axes", fits, fitstest::header(16, 1, 1, 0, 3) + std::string(2, '\0'), ""},
        {"no axes", fits, fitstest::header(16, 1, 1, 0, 0), ""},
        {"FITS data cut short", fits, fitstest::header(16, 2, 2) + std::string(7, '\0'), notFits},
        {"FITS no data", fits, fitstest::header(8, 1, 1), notFits},
        {"FITS width 0", fits, fitstest::header(8, 0, 1) + std::string(1, '\0'), notFits},
        {"FITS negative height", fits, fitstest::header(8, 1, -1) + std::string(1, '\0'), notFits},
        {"FITS width beyond 32 bits", fits, fitstest::header(8, 4294967297LL, 1) + std::string(1, '\0'), notFits},
        {"FITS product beyond 64 bits", fits, fitstest::header(-64, 2147483647, 2147483647) + std::string(8, '\0'),
         notFits},
        {"IMG empty", img, "", ""},
        {"version on line 3", img, "A = 1\nB = 2\nPDS_VERSION_ID = PDS3\nEND\n", notImg},
        {"END before the version line", img, "END\nPDS_VERSION_ID = PDS3\nSAMPLE_BITS = 8\n", notImg},
        {"no END line", img, "PDS_VERSION_ID = PDS3\n" + geometry(8, 2, 2, 64, 2), notImg},
        {"SAMPLE_BITS 12", img, imgFile(geometry(12, 2, 2, 256, 2), 256, 1, four), "Unsupported Data Type"},
        {"SAMPLE_BITS 32", img, imgFile(geometry(32, 1, 1, 256, 2), 256, 1, four), "Unsupported Data Type"},
        {"no SAMPLE_BITS", img, imgFile("RECORD_BYTES = 256\n^IMAGE = 2\nLINES = 1\nLINE_SAMPLES = 1\n", 256, 1, four),
         "Unsupported Data Type"},
        {"no ^IMAGE", img, imgFile("RECORD_BYTES = 256\nLINES = 1\nLINE_SAMPLES = 1\nSAMPLE_BITS = 8\n", 256, 1, four),
         notImg},
        {"^IMAGE 0", img, imgFile(geometry(8, 1, 1, 256, 0), 256, 1, four), notImg},
        {"^IMAGE in another file", img,
         imgFile("RECORD_BYTES = 256\n^IMAGE = \"MAP.DAT\"\nLINES = 1\nLINE_SAMPLES = 1\nSAMPLE_BITS = 8\n", 256, 1,
                 four),
         notImg},
        {"RECORD_BYTES 0", img, imgFile(geometry(8, 1, 1, 0, 2), 256, 1, four), notImg},
        {"IMG data cut short", img, imgFile(geometry(16, 2, 1, 256, 2), 256, 1, "\x01\x02\x03"), notImg},
        {"IMG data beyond the file", img, imgFile(geometry(8, 1, 1, 256, 9), 256, 1, four), notImg},
        {"IMG width 0", img, imgFile(geometry(8, 0, 1, 256, 2), 256, 1, four), notImg},
        {"IMG negative height", img, imgFile(geometry(8, 1, -4, 256, 2), 256, 1, four), notImg},
        {"IMG offset beyond 64 bits", img,
         imgFile("RECORD_BYTES = 4611686018427387904\n^IMAGE = 5\nLINES = 1\nLINE_SAMPLES = 1\nSAMPLE_BITS = 8\n", 256,
                 1, four),
         notImg},
        {"IMG size beyond 64 bits", img,
         imgFile("RECORD_BYTES = 256\n^IMAGE = 2\nLINES = 2147483647\nLINE_SAMPLES = 2147483647\nSAMPLE_BITS = 16\n",
                 256, 1, four),
         notImg},
    };
    for (const Case& c : cases) {
        ScratchFile file("refused", c.bytes);
        MessageRecorder recorder;
        RasterFile raster;
        EXPECT_EQ((raster.*c.open)(file.path), 0) << c.what;
        if (c.message.empty()) {
            EXPECT_TRUE(recorder.messages().empty()) << c.what;
        } else {
            ASSERT_EQ(recorder.messages().size(), 1u) << c.what;
            EXPECT_EQ(recorder.messages()[0], c.message + "|" + platform::utf8FromPath(file.path)) << c.what;
        }
        // A file that cannot be opened at all fails without a message too.
        MessageRecorder quiet;
        EXPECT_EQ((raster.*c.open)(file.path.string() + "-missing"), 0) << c.what;
        EXPECT_TRUE(quiet.messages().empty()) << c.what;
    }
}

// Files written by astropy and by tests/data/planetary/make-samples.py (IMG with
// CR LF and with LF line ends): sample (x, y) is a formula of x and y, row 0
// written first.
TEST(RasterFileReader, ReadsFilesWrittenByAnotherWriter) {
    struct Case {
        const char* name;
        std::int32_t bits;
        double (*value)(int x, int y);
    };
    const Case fitsCases[] = {
        {"bitpix8.fits", 8, [](int x, int y) { return static_cast<std::int8_t>(x * 50 + y * 2) * 0.007874015748031496; }},
        {"bitpix16.fits", 16, [](int x, int y) { return (x * 16383 - 32768 + y) * 3.051850947599719e-05; }},
        {"bitpix32.fits", 32,
         [](int x, int y) { return static_cast<double>(x * 1073741823LL - 2147483648LL + y) * 4.656612875245797e-10; }},
        {"bitpix-32.fits", -32, [](int x, int y) { return x * 0.25 - y * 0.5; }},
        {"bitpix-64.fits", -64, [](int x, int y) { return x * 0.125 + y * 3.0 - 1.0; }},
        {"long-header.fits", 16, [](int x, int y) { return (x + 10 * y) * 3.051850947599719e-05; }},
    };
    for (const Case& c : fitsCases) {
        RasterFile raster;
        ASSERT_EQ(raster.openFits(imagetest::planetary(c.name)), 1) << c.name;
        EXPECT_EQ(raster.sampleBits, c.bits) << c.name;
        EXPECT_EQ(raster.dataOffset, c.name[0] == 'l' ? 5760 : 2880) << c.name;
        EXPECT_EQ(raster.width, 5) << c.name;
        EXPECT_EQ(raster.height, 3) << c.name;
        EXPECT_EQ(raster.channels, 1) << c.name;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(raster.fitsValue(x, y), c.value(x, y)) << c.name << " at " << x << "," << y;
            }
        }
    }
    MessageRecorder recorder;
    RasterFile cube;
    EXPECT_EQ(cube.openFits(imagetest::planetary("cube.fits")), 0);
    EXPECT_TRUE(recorder.messages().empty());

    RasterFile gray8;
    ASSERT_EQ(gray8.openImg(imagetest::planetary("gray8.img")), 1);
    RasterFile gray16;
    ASSERT_EQ(gray16.openImg(imagetest::planetary("gray16.img")), 1);
    EXPECT_EQ(gray8.dataOffset, 256);
    EXPECT_EQ(gray16.dataOffset, 256);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(grey(gray8, x, y), x * 40 + y * 3) << x << "," << y;
            EXPECT_EQ(grey(gray16, x, y), (x * 4660 + y * 256 + 7) >> 8) << x << "," << y;
        }
    }
}

// Loaded as images, the samples are read in place without a row flip and
// clamped to the edge; FITS values become value × 255.5, truncated, low 8 bits.
TEST(RasterFileImage, PixelsAreReadInPlace) {
    struct Grey {
        int x, y, level, result;
    };
    struct Case {
        const char* file;
        int kind;
        std::vector<Grey> greys;
    };
    const Case cases[] = {
        // x·40 + y·3.
        {"gray8.img", ImagePdsImg, {{0, 0, 0, 1}, {4, 0, 160, 1}, {1, 2, 46, 1}, {-1, 5, 6, 0}, {9, 1, 163, 0}}},
        // The high byte of x·4660 + y·256 + 7.
        {"gray16.img", ImagePdsImg, {{0, 0, 0, 1}, {4, 2, 74, 1}, {1, 1, 19, 1}, {5, 3, 74, 0}, {-1, -1, 0, 0}}},
        // Byte x·50 + y·2 read as signed, / 127, × 255.5 and wrapped: 102 → 205;
        // 150 is -106 → -213 → 43; 204 is -52 → -104 → 152.
        {"bitpix8.fits", ImageFits, {{0, 0, 0, 1}, {2, 1, 205, 1}, {3, 0, 43, 1}, {4, 2, 152, 1}, {7, 7, 152, 0}}},
        // x·0.25 - y·0.5.
        {"bitpix-32.fits", ImageFits, {{2, 0, 127, 1}, {1, 1, 193, 1}, {4, 2, 0, 1}, {0, 2, 1, 1}, {99, -7, 255, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Image image;
        ASSERT_EQ(image.load(imagetest::planetary(c.file)), 1);
        EXPECT_EQ(image.valid, 1);
        EXPECT_EQ(image.kind, c.kind);
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.channels, 1);
        ASSERT_NE(image.rasterFile, nullptr);
        EXPECT_FALSE(image.pixelStore);
        for (const Grey& g : c.greys) {
            Color out = imagetest::junk();
            EXPECT_EQ(image.getPixel(g.x, g.y, out), g.result) << g.x << ", " << g.y;
            EXPECT_EQ(imagetest::bytesOf(out), (Bytes{g.level, g.level, g.level, 0})) << g.x << ", " << g.y;
        }
    }
}

// A refused raster gives an invalid image and one message, and stays attached
// until release; releasing closes the file, so it can go (Windows refuses to
// delete a file that is still mapped).
TEST(RasterFileImage, RefusedOrReleasedFiles) {
    ScratchFile broken("broken.IMG", "PDS_VERSION_ID = PDS3\nSAMPLE_BITS = 12\nEND\n");
    MessageRecorder recorder;
    for (const auto& path : {imagetest::planetary("cube.fits"), broken.path}) {
        Image image;
        EXPECT_EQ(image.load(path), 0);
        EXPECT_EQ(image.valid, 0);
        EXPECT_EQ(image.kind, path == broken.path ? ImagePdsImg : ImageFits);
        EXPECT_NE(image.rasterFile, nullptr);
        Color out = imagetest::junk();
        EXPECT_EQ(image.getPixel(0, 0, out), 0);
        EXPECT_EQ(imagetest::bytesOf(out), (Bytes{0, 0, 0, 0}));
        image.release();
        EXPECT_EQ(image.rasterFile, nullptr);
    }
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0], "Unsupported Data Type|" + platform::utf8FromPath(broken.path));

    auto file = std::make_unique<ScratchFile>("release.fits", fitstest::header(8, 1, 1) + raw({5}));
    Image image;
    ASSERT_EQ(image.load(file->path), 1);
    ASSERT_NE(image.rasterFile, nullptr);
    EXPECT_TRUE(image.rasterFile->mapped.isOpen());
    image.release();
    EXPECT_EQ(image.rasterFile, nullptr);
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(file->path, error)) << error.message();
}
