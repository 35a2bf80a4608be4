#include "platform/MappedFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#ifdef __linux__
#include <sys/resource.h>
#endif

namespace {

// A scratch file named after the running test, removed afterwards.
class ScratchFile {
public:
    explicit ScratchFile(const std::vector<std::uint8_t>& bytes) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() /
               (std::string("horavel-mapped-") + info->name() + ".bin");
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    std::filesystem::path path;
};

}  // namespace

TEST(MappedFile, OpensAtPositionZeroAndReadsAdvanceBySize) {
    ScratchFile file({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    platform::MappedFile mapped;
    ASSERT_EQ(mapped.open(file.path), 1);
    EXPECT_EQ(mapped.position, 0u);
    EXPECT_EQ(mapped.size(), 19u);
    EXPECT_EQ(mapped.read32(false), 0x04030201);
    EXPECT_EQ(mapped.position, 4u);
    mapped.read16(true);
    EXPECT_EQ(mapped.position, 6u);
    mapped.readFloat(true);
    EXPECT_EQ(mapped.position, 10u);
    mapped.readDouble(false);
    EXPECT_EQ(mapped.position, 18u);
    EXPECT_EQ(mapped.read8(), 19);
    EXPECT_EQ(mapped.position, 19u);
}

// The swap flag names the stored order: set, most significant byte first.
TEST(MappedFile, ReadsBothByteOrdersAtUnalignedPositions) {
    // 0x3FF8000000000000 is 1.5 as a double, 0xC0490FDB is -3.14159274 as a float.
    ScratchFile file({0xAA, 0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFE, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0,
                      0xC0, 0x49, 0x0F, 0xDB});
    platform::MappedFile mapped;
    ASSERT_EQ(mapped.open(file.path), 1);
    struct Case {
        std::uint64_t at;
        bool swap;
        std::uint16_t expected16;
    };
    for (const Case& c : {Case{1, true, 0x1234}, Case{1, false, 0x3412}, Case{0, true, 0xAA12}}) {
        mapped.position = c.at;
        EXPECT_EQ(mapped.read16(c.swap), c.expected16) << "at " << c.at << " swap " << c.swap;
    }
    mapped.position = 3;
    EXPECT_EQ(mapped.read32(true), -2);
    mapped.position = 3;
    EXPECT_EQ(mapped.read32(false), static_cast<std::int32_t>(0xFEFFFFFF));
    mapped.position = 7;
    EXPECT_EQ(mapped.readDouble(true), 1.5);
    mapped.position = 15;
    EXPECT_EQ(mapped.readFloat(true), -3.14159274f);
    mapped.position = 15;
    EXPECT_EQ(mapped.readFloat(false), std::bit_cast<float>(std::uint32_t{0xDB0F49C0}));
}

// A read whose bytes are not all inside the file yields 0 and still advances.
TEST(MappedFile, ReadsPastTheEndYieldZero) {
    ScratchFile file({0x11, 0x22, 0x33, 0x44, 0x55});
    platform::MappedFile mapped;
    ASSERT_EQ(mapped.open(file.path), 1);
    mapped.position = 4;
    EXPECT_EQ(mapped.read16(true), 0);
    EXPECT_EQ(mapped.position, 6u);
    mapped.position = 2;
    EXPECT_EQ(mapped.read32(true), 0);
    mapped.position = 1;
    EXPECT_EQ(mapped.read32(true), 0x22334455);
    mapped.position = 5;
    EXPECT_EQ(mapped.read8(), 0);
    mapped.position = 4;
    EXPECT_EQ(mapped.read8(), 0x55);
    mapped.position = 0;
    EXPECT_EQ(mapped.readDouble(true), 0.0);
    // Positions near the top of the range must not wrap around to the start.
    for (std::uint64_t at : {std::numeric_limits<std::uint64_t>::max(),
                             std::numeric_limits<std::uint64_t>::max() - 1}) {
        mapped.position = at;
        EXPECT_EQ(mapped.read16(false), 0);
        mapped.position = at;
        EXPECT_EQ(mapped.readDouble(false), 0.0);
    }
}

// Close twice is harmless and reads after it yield 0; a closed file can be
// mapped anew, and mapping again starts at position 0.
TEST(MappedFile, CloseAndReopen) {
    ScratchFile file({1, 2, 3, 4});
    platform::MappedFile mapped;
    ASSERT_EQ(mapped.open(file.path), 1);
    mapped.close();
    mapped.close();
    EXPECT_EQ(mapped.data(), nullptr);
    EXPECT_EQ(mapped.size(), 0u);
    mapped.position = 0;
    EXPECT_EQ(mapped.read32(false), 0);
    EXPECT_EQ(mapped.open(file.path), 1);
    EXPECT_EQ(mapped.read8(), 1);
    mapped.position = 2;
    ASSERT_EQ(mapped.open(file.path), 1);
    EXPECT_EQ(mapped.position, 0u);
    EXPECT_EQ(mapped.read8(), 1);
}

TEST(MappedFile, MissingEmptyAndDirectoryAreRefused) {
    ScratchFile empty({});
    platform::MappedFile mapped;
    EXPECT_EQ(mapped.open(empty.path), 0);
    EXPECT_EQ(mapped.data(), nullptr);
    EXPECT_EQ(mapped.open(empty.path.string() + "-missing"), 0);
    EXPECT_EQ(mapped.open(std::filesystem::temp_directory_path()), 0);
    EXPECT_EQ(mapped.position, 0u);
    EXPECT_EQ(mapped.read8(), 0);
}

namespace {

#ifdef __linux__
// Page faults this process has taken that the file cache could serve.
long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}
#endif

}  // namespace

// Pages handed back come again from the file when next read: the same bytes,
// and (measured on Linux) through page faults, since they had left the
// process's memory; untouched otherwise.
TEST(MappedFile, ReleasedPagesComeBackFromTheFile) {
    std::vector<std::uint8_t> bytes(std::size_t{1} << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
    }
    ScratchFile file(bytes);
    platform::MappedFile mapped;
    ASSERT_EQ(mapped.open(file.path), 1);
    ASSERT_EQ(std::memcmp(mapped.data(), bytes.data(), bytes.size()), 0);
#ifdef __linux__
    const long beforeReading = minorFaults();
    ASSERT_EQ(std::memcmp(mapped.data(), bytes.data(), bytes.size()), 0);
    EXPECT_LT(minorFaults() - beforeReading, 4) << "resident pages read again without faults";
#endif
    mapped.releaseResidentPages();
#ifdef __linux__
    const long beforeRereading = minorFaults();
#endif
    EXPECT_EQ(std::memcmp(mapped.data(), bytes.data(), bytes.size()), 0);
#ifdef __linux__
    // 256 pages, brought back at most 16 to a fault.
    EXPECT_GE(minorFaults() - beforeRereading, 16) << "the pages had left the process";
#endif
    platform::MappedFile closed;
    closed.releaseResidentPages();  // nothing mapped: nothing to do
    EXPECT_FALSE(closed.isOpen());
}
