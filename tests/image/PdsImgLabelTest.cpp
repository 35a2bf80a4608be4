#include "image/PdsImgLabel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

struct Scanned {
    PdsImgLabelScan result;
    PdsImgLabel label;
};

Scanned scan(std::string_view text) {
    Scanned s{};
    s.result = scanPdsImgLabel(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), s.label);
    return s;
}

}  // namespace

// The version line may be the first or the second; the label is refused as soon
// as a second line has been read without it.
TEST(PdsImgLabel, VersionLineOnLineOneOrTwo) {
    struct Case {
        std::string_view text;
        PdsImgLabelScan expected;
        std::int32_t lines;
    };
    const Case cases[] = {
        {"PDS_VERSION_ID = PDS3\nEND\n", PdsImgLabelComplete, 2},
        {"CCSD3ZF0000100000001NJPL3IF0PDS200000001 = SFDU_LABEL\nPDS_VERSION_ID = PDS3\nEND\n",
         PdsImgLabelComplete, 3},
        {"A = 1\nB = 2\nPDS_VERSION_ID = PDS3\nEND\n", PdsImgLabelNotPds, 2},
        {"SIMPLE  =                    T\nEND\n", PdsImgLabelNotPds, 2},
        // A tab is not skipped: the keyword must follow spaces only.
        {"\tPDS_VERSION_ID = PDS3\nEND\n", PdsImgLabelNotPds, 2},
        {"  PDS_VERSION_ID = PDS3\nEND\n", PdsImgLabelComplete, 2},
        {"END\nPDS_VERSION_ID = PDS3\n", PdsImgLabelNotPds, 1},
    };
    for (const Case& c : cases) {
        const Scanned s = scan(c.text);
        EXPECT_EQ(s.result, c.expected) << c.text;
        EXPECT_EQ(s.label.lineCount, c.lines) << c.text;
    }
}

// Each keyword is a prefix test over its full length, in table order; a value
// stays on its line; later lines overwrite earlier ones; END_OBJECT does not end
// the label; huge numbers are held at the limit.
TEST(PdsImgLabel, KeywordsAndValues) {
    constexpr std::int64_t top = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t bottom = std::numeric_limits<std::int64_t>::min();
    struct Case {
        std::string_view lines;
        std::int64_t sampleBits, width, height, recordBytes, imageRecord;
        std::int32_t lineCount;  // -1: not checked
    };
    const Case cases[] = {
        {"RECORD_BYTES = 1024\r\n^IMAGE = 3\r\nOBJECT = IMAGE\r\n   LINES = 480\r\n   LINE_SAMPLES = 640\r\n"
         "   SAMPLE_BITS = 16\r\nEND_OBJECT = IMAGE\r\n",
         16, 640, 480, 1024, 3, 9},
        {"LINE_SAMPLES = 5\n", 0, 5, 0, 0, 0, -1},
        {"LINES = 6\n", 0, 0, 6, 0, 0, -1},
        {"LINE = 6\n", 0, 0, 0, 0, 0, -1},
        {"SAMPLE_BIT_MASK = 2#0000111111111111#\n", 0, 0, 0, 0, 0, -1},
        {"SAMPLE_BITS = 8\n", 8, 0, 0, 0, 0, -1},
        {"RECORD_BYTES = 2048\n", 0, 0, 0, 2048, 0, -1},
        {"RECORD_TYPE = FIXED_LENGTH\n", 0, 0, 0, 0, 0, -1},
        {"^IMAGE = 12\n", 0, 0, 0, 0, 12, -1},
        {"^IMAGE_HEADER = 4\n", 0, 0, 0, 0, 4, -1},
        // A byte pointer reads as a record number all the same.
        {"^IMAGE = 2048 <BYTES>\n", 0, 0, 0, 0, 2048, -1},
        // A pointer to another file leaves the record number as it was.
        {"^IMAGE = \"MAP.IMG\"\n", 0, 0, 0, 0, 0, -1},
        {"^IMAGE = (\"MAP.IMG\", 3)\n", 0, 0, 0, 0, 0, -1},
        // A keyword line without "=" supplies no value.
        {"LINES 6\n", 0, 0, 0, 0, 0, -1},
        {"LINES = -3\n", 0, 0, -3, 0, 0, -1},
        {"LINES=+41abc\n", 0, 0, 41, 0, 0, -1},
        {"lines = 6\n", 0, 0, 0, 0, 0, -1},
        {"^IMAGE = 3\n^IMAGE_HEADER = 2\nLINES = 1\nLINES = 2\n", 0, 0, 2, 0, 2, -1},
        {"LINES =\n  42\nLINE_SAMPLES = \r\n7\n", 0, 0, 0, 0, 0, -1},
        {"END_OBJECT = IMAGE\nLINES = 7\nEND\nLINES = 9\n", 0, 0, 7, 0, 0, 4},
        {"LINES = 99999999999999999999999\nLINE_SAMPLES = -99999999999999999999999\n"
         "RECORD_BYTES = 9223372036854775807\n^IMAGE = -9223372036854775808\n",
         0, bottom, top, top, bottom, -1},
    };
    for (const Case& c : cases) {
        std::string text = "PDS_VERSION_ID = PDS3\n";
        text += c.lines;
        text += "END\n";
        const Scanned s = scan(text);
        EXPECT_EQ(s.result, PdsImgLabelComplete) << c.lines;
        EXPECT_EQ(s.label.sampleBits, c.sampleBits) << c.lines;
        EXPECT_EQ(s.label.width, c.width) << c.lines;
        EXPECT_EQ(s.label.height, c.height) << c.lines;
        EXPECT_EQ(s.label.recordBytes, c.recordBytes) << c.lines;
        EXPECT_EQ(s.label.imageRecord, c.imageRecord) << c.lines;
        if (c.lineCount >= 0) {
            EXPECT_EQ(s.label.lineCount, c.lineCount) << c.lines;
        }
    }
}

// The scan stops at the end of the bytes it is given, whatever the label says.
TEST(PdsImgLabel, ScanStopsAtTheEndOfTheFile) {
    struct Case {
        std::string_view text;
        PdsImgLabelScan expected;
    };
    const Case cases[] = {
        {"PDS_VERSION_ID = PDS3\nLINES = 3\n", PdsImgLabelNoEnd},
        {"PDS_VERSION_ID = PDS3\nEND_OBJECT\n", PdsImgLabelNoEnd},
        {"PDS_VERSION_ID = PDS3", PdsImgLabelNoEnd},
        {"PDS_VERSION_ID = PDS3\nEN", PdsImgLabelNoEnd},
        {"PDS_VERSION_ID = PDS3\nEND", PdsImgLabelComplete},
        {"", PdsImgLabelNoEnd},
        {"    ", PdsImgLabelNoEnd},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scan(c.text).result, c.expected) << c.text;
    }
    // A number at the very end is read up to the last byte given and no further.
    const std::string_view tail = "PDS_VERSION_ID = PDS3\nLINES = 12";
    PdsImgLabel label;
    EXPECT_EQ(scanPdsImgLabel(reinterpret_cast<const std::uint8_t*>(tail.data()), tail.size() - 1, label),
              PdsImgLabelNoEnd);
    EXPECT_EQ(label.height, 1);
}
