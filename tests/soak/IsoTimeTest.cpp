#include "tools/common/IsoTime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Moments as 100-ns ticks since 1601-01-01 and their text, the ticks worked out
// with Python's datetime: each century rule of the leap years, a leap day, the
// last second of a year, and a fraction of a second.
struct WrittenMoment {
    std::uint64_t ticks;
    const char* text;
};
constexpr WrittenMoment writtenMoments[] = {
    {0ULL, "1601-01-01T00:00:00Z"},
    {31'292'351'990'000'000ULL, "1700-02-28T23:59:59Z"},  // 1700: no leap day
    {94'405'824'000'000'000ULL, "1900-03-01T00:00:00Z"},  // 1900: no leap day
    {125'962'992'000'000'000ULL, "2000-02-29T12:00:00Z"},  // 2000: a leap day
    {134'412'845'100'000'000ULL, "2026-12-09T10:08:30Z"},
    {252'455'615'990'000'000ULL, "2400-12-31T23:59:59Z"},
    {2'650'467'743'990'000'000ULL, "9999-12-31T23:59:59Z"},
    {134'373'636'002'500'000ULL, "2026-10-25T01:00:00.250Z"},
    {134'373'636'000'009'999ULL, "2026-10-25T01:00:00Z"},  // 0.000 999 9 s: under a millisecond
};

}  // namespace

TEST(IsoTime, WritesMomentsOfEveryKindOfYear) {
    for (const WrittenMoment& moment : writtenMoments) {
        EXPECT_EQ(formatIsoTime(platform::FileTime::fromTicks(moment.ticks)), moment.text) << moment.ticks;
    }
}

// The reader counts days month by month, the writer by 400-year eras: each checks
// the other on a day in every 97 from 1601 to 2801, at a different second of the day.
TEST(IsoTime, WrittenMomentsReadBackAsTheSameMoment) {
    constexpr std::uint64_t ticksPerSecond = 10'000'000;
    for (std::uint64_t day = 0; day < 1200 * 366; day += 97) {
        const std::uint64_t seconds = day * 86'400 + (day * 7919) % 86'400;
        const auto moment = platform::FileTime::fromTicks(seconds * ticksPerSecond);
        platform::FileTime read;
        ASSERT_TRUE(parseIsoTime(formatIsoTime(moment), read)) << formatIsoTime(moment);
        EXPECT_EQ(read.ticks(), moment.ticks()) << formatIsoTime(moment);
    }
}

TEST(IsoTime, WritesOffsetsAsZoneDesignators) {
    const struct {
        std::int64_t offsetSeconds;
        const char* text;
    } offsets[] = {
        {0, "+00:00"}, {7200, "+02:00"}, {20'700, "+05:45"}, {-12'600, "-03:30"}, {-36'000, "-10:00"}, {50'400, "+14:00"},
    };
    for (const auto& offset : offsets) {
        EXPECT_EQ(formatUtcOffset(offset.offsetSeconds), offset.text) << offset.offsetSeconds;
    }
}
