#include "image/RasterFile.h"

#include "RasterFileTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using rasterfiletest::MessageRecorder;
using rasterfiletest::ScratchFile;

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
    EXPECT_EQ(c.r, c.g);
    EXPECT_EQ(c.r, c.b);
    EXPECT_EQ(c.t, 0);
    return c.r;
}

}  // namespace

TEST(PdsImgReader, RecordsGiveTheDataOffset) {
    ScratchFile file("offset.img", imgFile(geometry(8, 3, 2, 1024, 3), 1024, 2, "\x01\x02\x03\x04\x05\x06"));
    RasterFile raster;
    ASSERT_EQ(raster.openImg(file.path), 1);
    EXPECT_EQ(raster.dataOffset, 2048);
    EXPECT_EQ(raster.width, 3);
    EXPECT_EQ(raster.height, 2);
    EXPECT_EQ(raster.sampleBits, 8);
    EXPECT_EQ(raster.channels, 1);
    // The first line of samples is the bottom row.
    EXPECT_EQ(grey(raster, 0, 0), 1);
    EXPECT_EQ(grey(raster, 2, 0), 3);
    EXPECT_EQ(grey(raster, 0, 1), 4);
    EXPECT_EQ(grey(raster, 2, 1), 6);
}

// 16-bit samples are stored least significant byte first; the grey level is the
// upper byte. The data area here ends exactly with the file.
TEST(PdsImgReader, SixteenBitSamplesShowTheirUpperByte) {
    ScratchFile file("sixteen.img", imgFile(geometry(16, 2, 1, 256, 2), 256, 1, "\x34\x12\xFF\x80"));
    RasterFile raster;
    ASSERT_EQ(raster.openImg(file.path), 1);
    EXPECT_EQ(grey(raster, 0, 0), 0x12);
    EXPECT_EQ(grey(raster, 1, 0), 0x80);
}

TEST(PdsImgReader, CoordinatesOutsideTheImageLeaveTheColour) {
    ScratchFile file("outside.img", imgFile(geometry(8, 2, 2, 256, 2), 256, 1, "\x09\x09\x09\x09"));
    RasterFile raster;
    ASSERT_EQ(raster.openImg(file.path), 1);
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{2, 0}, std::pair{0, 2}, std::pair{INT32_MAX, INT32_MAX}}) {
        Color c = Color::bytes(0, 0, 0);
        EXPECT_EQ(raster.imgPixel(x, y, c), 1);
        EXPECT_EQ(c.r, 0) << x << "," << y;
    }
    RasterFile unopened;
    Color c = Color::bytes(0, 0, 0);
    EXPECT_EQ(unopened.imgPixel(0, 0, c), 1);
    EXPECT_EQ(c.r, 0);
}

TEST(PdsImgReader, RefusalsAndTheirMessages) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const std::string fourSamples = "\x01\x02\x03\x04";
    const Case cases[] = {
        {"version on line 3", "A = 1\nB = 2\nPDS_VERSION_ID = PDS3\nEND\n", "Not a valid IMG file"},
        {"END before the version line", "END\nPDS_VERSION_ID = PDS3\nSAMPLE_BITS = 8\n", "Not a valid IMG file"},
        {"no END line", "PDS_VERSION_ID = PDS3\n" + geometry(8, 2, 2, 64, 2), "Not a valid IMG file"},
        {"SAMPLE_BITS 12", imgFile(geometry(12, 2, 2, 256, 2), 256, 1, fourSamples), "Unsupported Data Type"},
        {"SAMPLE_BITS 32", imgFile(geometry(32, 1, 1, 256, 2), 256, 1, fourSamples), "Unsupported Data Type"},
        {"no SAMPLE_BITS", imgFile("RECORD_BYTES = 256\n^IMAGE = 2\nLINES = 1\nLINE_SAMPLES = 1\n", 256, 1, fourSamples),
         "Unsupported Data Type"},
        {"no ^IMAGE", imgFile("RECORD_BYTES = 256\nLINES = 1\nLINE_SAMPLES = 1\nSAMPLE_BITS = 8\n", 256, 1, fourSamples),
         "Not a valid IMG file"},
        {"^IMAGE 0", imgFile(geometry(8, 1, 1, 256, 0), 256, 1, fourSamples), "Not a valid IMG file"},
        {"^IMAGE in another file",
         imgFile("RECORD_BYTES = 256\n^IMAGE = \"MAP.DAT\"\nLINES = 1\nLINE_SAMPLES = 1\nSAMPLE_BITS = 8\n", 256, 1,
                 fourSamples),
         "Not a valid IMG file"},
        {"RECORD_BYTES 0", imgFile(geometry(8, 1, 1, 0, 2), 256, 1, fourSamples), "Not a valid IMG file"},
        {"data cut short", imgFile(geometry(16, 2, 1, 256, 2), 256, 1, "\x01\x02\x03"), "Not a valid IMG file"},
        {"data beyond the file", imgFile(geometry(8, 1, 1, 256, 9), 256, 1, fourSamples), "Not a valid IMG file"},
        {"width 0", imgFile(geometry(8, 0, 1, 256, 2), 256, 1, fourSamples), "Not a valid IMG file"},
        {"negative height", imgFile(geometry(8, 1, -4, 256, 2), 256, 1, fourSamples), "Not a valid IMG file"},
        {"offset beyond 64 bits",
         imgFile("RECORD_BYTES = 4611686018427387904\n^IMAGE = 5\nLINES = 1\nLINE_SAMPLES = 1\nSAMPLE_BITS = 8\n", 256,
                 1, fourSamples),
         "Not a valid IMG file"},
        {"size beyond 64 bits",
         imgFile("RECORD_BYTES = 256\n^IMAGE = 2\nLINES = 2147483647\nLINE_SAMPLES = 2147483647\nSAMPLE_BITS = 16\n",
                 256, 1, fourSamples),
         "Not a valid IMG file"},
    };
    for (const Case& c : cases) {
        ScratchFile file("refused.img", c.bytes);
        MessageRecorder recorder;
        RasterFile raster;
        EXPECT_EQ(raster.openImg(file.path), 0) << c.what;
        ASSERT_EQ(recorder.messages().size(), 1u) << c.what;
        EXPECT_EQ(recorder.messages()[0], c.message + "|" + platform::utf8FromPath(file.path)) << c.what;
    }
}

TEST(PdsImgReader, UnreadableFilesFailWithoutAMessage) {
    ScratchFile empty("empty.img", "");
    MessageRecorder recorder;
    RasterFile raster;
    EXPECT_EQ(raster.openImg(empty.path), 0);
    EXPECT_EQ(raster.openImg(empty.path.string() + "-missing"), 0);
    EXPECT_TRUE(recorder.messages().empty());
}

// Files written by tests/data/planetary/make-samples.py, with CR LF and with LF
// line ends: sample (x, y) is a formula of x and y, row 0 written first.
TEST(PdsImgReader, ReadsTheSampleFiles) {
    RasterFile gray8;
    ASSERT_EQ(gray8.openImg(rasterfiletest::sampleDir() / "gray8.img"), 1);
    RasterFile gray16;
    ASSERT_EQ(gray16.openImg(rasterfiletest::sampleDir() / "gray16.img"), 1);
    EXPECT_EQ(gray8.dataOffset, 256);
    EXPECT_EQ(gray16.dataOffset, 256);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(grey(gray8, x, y), x * 40 + y * 3) << x << "," << y;
            EXPECT_EQ(grey(gray16, x, y), (x * 4660 + y * 256 + 7) >> 8) << x << "," << y;
        }
    }
}
