#include "image/TiffProbe.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

TEST(TiffProbe, ReadsTheVersionWordLittleEndian) {
    imagetest::ScratchFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        int expected;
    };
    const Case cases[] = {
        {"classic-le.tif", std::string("II\x2A\x00\x08\x00\x00\x00", 8), 1},
        {"big-le.tif", std::string("II\x2B\x00\x08\x00\x00\x00", 8), 2},
        // The mark is ignored: a big-endian header reads as 0x2A00 or 0x2B00.
        {"classic-be.tif", std::string("MM\x00\x2A\x00\x00\x00\x08", 8), 0},
        {"big-be.tif", std::string("MM\x00\x2B\x00\x08\x00\x00", 8), 0},
        // Any mark with the little-endian word 42 counts as classic.
        {"odd-mark.tif", std::string("XY\x2A\x00", 4), 1},
        {"short.tif", std::string("II\x2A", 3), 0},
        {"empty.tif", std::string(), 0},
        {"png.tif", std::string("\x89PNG\r\n\x1A\n", 8), 0},
    };
    for (const Case& c : cases) {
        const auto path = folder.path / c.name;
        std::ofstream(path, std::ios::binary).write(c.bytes.data(),
                                                    static_cast<std::streamsize>(c.bytes.size()));
        EXPECT_EQ(probeTiffVersion(path), c.expected) << c.name;
    }
    EXPECT_EQ(probeTiffVersion(folder.path / "missing.tif"), 0);
    EXPECT_EQ(probeTiffVersion(folder.path), 0);  // a folder is no file
}

}  // namespace
