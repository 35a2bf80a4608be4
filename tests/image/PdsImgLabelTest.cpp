#include "image/PdsImgLabel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
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

TEST(PdsImgLabel, IndentedKeywordsAndCrLfLineEnds) {
    const Scanned s = scan(
        "PDS_VERSION_ID = PDS3\r\n"
        "RECORD_BYTES = 1024\r\n"
        "^IMAGE = 3\r\n"
        "OBJECT = IMAGE\r\n"
        "   LINES = 480\r\n"
        "   LINE_SAMPLES = 640\r\n"
        "   SAMPLE_BITS = 16\r\n"
        "END_OBJECT = IMAGE\r\n"
        "END\r\n");
    EXPECT_EQ(s.result, PdsImgLabelComplete);
    EXPECT_EQ(s.label.recordBytes, 1024);
    EXPECT_EQ(s.label.imageRecord, 3);
    EXPECT_EQ(s.label.height, 480);
    EXPECT_EQ(s.label.width, 640);
    EXPECT_EQ(s.label.sampleBits, 16);
    EXPECT_EQ(s.label.lineCount, 9);
}

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

TEST(PdsImgLabel, EndOfObjectDoesNotEndTheLabel) {
    const Scanned s = scan("PDS_VERSION_ID = PDS3\nEND_OBJECT = IMAGE\nLINES = 7\nEND\nLINES = 9\n");
    EXPECT_EQ(s.result, PdsImgLabelComplete);
    EXPECT_EQ(s.label.height, 7);
    EXPECT_EQ(s.label.lineCount, 4);
}

// Every keyword is a prefix test over its full length, in table order.
TEST(PdsImgLabel, PrefixTestsOverTheFullKeyword) {
    struct Case {
        std::string_view line;
        std::int64_t sampleBits, width, height, recordBytes, imageRecord;
    };
    const Case cases[] = {
        {"LINE_SAMPLES = 5", 0, 5, 0, 0, 0},
        {"LINES = 6", 0, 0, 6, 0, 0},
        {"LINE = 6", 0, 0, 0, 0, 0},
        {"SAMPLE_BIT_MASK = 2#0000111111111111#", 0, 0, 0, 0, 0},
        {"SAMPLE_BITS = 8", 8, 0, 0, 0, 0},
        {"RECORD_BYTES = 2048", 0, 0, 0, 2048, 0},
        {"RECORD_TYPE = FIXED_LENGTH", 0, 0, 0, 0, 0},
        {"^IMAGE = 12", 0, 0, 0, 0, 12},
        {"^IMAGE_HEADER = 4", 0, 0, 0, 0, 4},
        // A byte pointer reads as a record number all the same.
        {"^IMAGE = 2048 <BYTES>", 0, 0, 0, 0, 2048},
        // A pointer to another file leaves the record number as it was.
        {"^IMAGE = \"MAP.IMG\"", 0, 0, 0, 0, 0},
        {"^IMAGE = (\"MAP.IMG\", 3)", 0, 0, 0, 0, 0},
        // A keyword line without "=" supplies no value.
        {"LINES 6", 0, 0, 0, 0, 0},
        {"LINES = -3", 0, 0, -3, 0, 0},
        {"LINES=+41abc", 0, 0, 41, 0, 0},
        {"lines = 6", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::string text = "PDS_VERSION_ID = PDS3\n";
        text += c.line;
        text += "\nEND\n";
        const Scanned s = scan(text);
        EXPECT_EQ(s.result, PdsImgLabelComplete) << c.line;
        EXPECT_EQ(s.label.sampleBits, c.sampleBits) << c.line;
        EXPECT_EQ(s.label.width, c.width) << c.line;
        EXPECT_EQ(s.label.height, c.height) << c.line;
        EXPECT_EQ(s.label.recordBytes, c.recordBytes) << c.line;
        EXPECT_EQ(s.label.imageRecord, c.imageRecord) << c.line;
    }
}

TEST(PdsImgLabel, LaterLinesOverwriteEarlierOnes) {
    const Scanned s = scan("PDS_VERSION_ID = PDS3\n^IMAGE = 3\n^IMAGE_HEADER = 2\nLINES = 1\nLINES = 2\nEND");
    EXPECT_EQ(s.result, PdsImgLabelComplete);
    EXPECT_EQ(s.label.imageRecord, 2);
    EXPECT_EQ(s.label.height, 2);
}

// A value never comes from the next line, even when "=" ends its own line.
TEST(PdsImgLabel, ValuesStayOnTheirLine) {
    const Scanned s = scan("PDS_VERSION_ID = PDS3\nLINES =\n  42\nLINE_SAMPLES = \r\n7\nEND\n");
    EXPECT_EQ(s.result, PdsImgLabelComplete);
    EXPECT_EQ(s.label.height, 0);
    EXPECT_EQ(s.label.width, 0);
}

TEST(PdsImgLabel, HugeNumbersAreHeldAtTheLimit) {
    const Scanned s = scan(
        "PDS_VERSION_ID = PDS3\nLINES = 99999999999999999999999\n"
        "LINE_SAMPLES = -99999999999999999999999\nRECORD_BYTES = 9223372036854775807\n"
        "^IMAGE = -9223372036854775808\nEND\n");
    EXPECT_EQ(s.label.height, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(s.label.width, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(s.label.recordBytes, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(s.label.imageRecord, std::numeric_limits<std::int64_t>::min());
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
