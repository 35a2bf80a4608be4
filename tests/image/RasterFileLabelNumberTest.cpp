#include "image/LabelNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

// The number conversion shared by the label and the header scans reads like the
// C library's "%ld", within the bytes it is given.
TEST(RasterFileLabelNumber, ReadsLikeADecimalConversion) {
    constexpr std::int64_t unchanged = 77;
    constexpr std::int64_t top = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t bottom = std::numeric_limits<std::int64_t>::min();
    struct Case {
        std::string_view text;
        bool read;
        std::int64_t value;
    };
    const Case cases[] = {
        {"42", true, 42},
        {"  \t\r\v\f 42 / comment", true, 42},
        {"-17x", true, -17},
        {"+8", true, 8},
        {"007", true, 7},
        {"9223372036854775807", true, top},
        {"9223372036854775808", true, top},
        {"-9223372036854775808", true, bottom},
        {"-9223372036854775809", true, bottom},
        {"123456789012345678901234567890", true, top},
        {"", false, unchanged},
        {"   ", false, unchanged},
        {"-", false, unchanged},
        {"+ 5", false, unchanged},
        {"T", false, unchanged},
        {"'PDS3'", false, unchanged},
    };
    for (const Case& c : cases) {
        std::int64_t value = unchanged;
        const auto* begin = reinterpret_cast<const std::uint8_t*>(c.text.data());
        EXPECT_EQ(readLabelNumber(begin, begin + c.text.size(), value), c.read) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(RasterFileLabelNumber, StopsAtTheEndItIsGiven) {
    const std::string_view text = "1234";
    const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
    std::int64_t value = 0;
    EXPECT_TRUE(readLabelNumber(begin, begin + 2, value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(readLabelNumber(begin, begin, value));
    EXPECT_EQ(value, 12);
}
