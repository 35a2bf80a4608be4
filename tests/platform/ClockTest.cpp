#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
// 2026-12-09 10:08:30 UTC as 100-ns ticks since 1601-01-01.
constexpr std::uint64_t moment = 134'412'845'100'000'000ULL;
constexpr std::uint64_t ticksPerHour = 36'000'000'000ULL;
}  // namespace

TEST(FileTime, HalvesRoundTrip) {
    const auto time = platform::FileTime::fromTicks(0x89ABCDEF'F0123456ULL);
    EXPECT_EQ(time.high, 0x89ABCDEFu);
    EXPECT_EQ(time.low, 0xF0123456u);
    EXPECT_EQ(time.ticks(), 0x89ABCDEF'F0123456ULL);
}

// The tests run with the time zone their environment gives; the offset of any
// zone lies within a day of universal time and is a whole number of minutes.
TEST(LocalFromUtc, OffsetIsWholeMinutesWithinADay) {
    const auto local = platform::localFromUtc(platform::FileTime::fromTicks(moment)).ticks();
    const auto offset = static_cast<std::int64_t>(local) - static_cast<std::int64_t>(moment);
    EXPECT_LT(std::llabs(offset), static_cast<long long>(24 * ticksPerHour));
    EXPECT_EQ(offset % 600'000'000, 0);
}

TEST(SystemClock, LocalAndUniversalTimeAgreeWithinADay) {
    const platform::SystemClock clock;
    const auto utc = static_cast<std::int64_t>(clock.utcNow().ticks());
    const auto local = static_cast<std::int64_t>(clock.localNow().ticks());
    EXPECT_GT(utc, static_cast<std::int64_t>(moment) - static_cast<std::int64_t>(24 * 365 * ticksPerHour));
    EXPECT_LT(std::llabs(local - utc), static_cast<long long>(24 * ticksPerHour));
}
