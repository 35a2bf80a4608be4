#include "clockface/FaceTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {
// 2026-12-31 00:00:00 as 100-ns ticks since 1601-01-01.
constexpr std::uint64_t lastDayOf2026 = 134'431'488'000'000'000ULL;
constexpr std::uint64_t ticksPerSecond = 10'000'000ULL;

FaceTime at(double secondsIntoDay) {
    const auto ticks = lastDayOf2026 + static_cast<std::uint64_t>(secondsIntoDay * ticksPerSecond);
    return FaceTime::fromLocalTime(platform::FileTime::fromTicks(ticks));
}
}  // namespace

TEST(FaceTime, HandsRunHalfASecondAhead) {
    const FaceTime time = at(10 * 3600 + 8 * 60 + 30);
    EXPECT_NEAR(time.hours, 10.0 + 8.0 / 60 + 30.5 / 3600, 1e-9);
    EXPECT_NEAR(time.minutes, 8.0 + 30.5 / 60, 1e-7);
    EXPECT_NEAR(time.seconds, 30.5, 1e-5);  // the tick count as a double keeps about 10 µs here
}

TEST(FaceTime, AllHandsPointUpAtNoonMidnightAndTheLastMomentOfTheDay) {
    for (const double secondsIntoDay : {0.0, 12.0 * 3600, 86399.6}) {
        const FaceTime time = at(secondsIntoDay);
        // Within a second of straight up: the hour hand within 1/120°, the others 6°.
        EXPECT_LT(std::fmod(time.hours * 30.0, 360.0), 1.0 / 120) << secondsIntoDay;
        EXPECT_LT(time.minutes * 6.0, 0.1) << secondsIntoDay;
        EXPECT_LT(time.seconds * 6.0, 6.0) << secondsIntoDay;
    }
    // 23:59:59.6 runs past 24 hours and is reduced once, to just over 12.
    EXPECT_GT(at(86399.6).hours, 12.0);
}

// The minute turns in its last half second; the Earth and the Moon alternate
// every fifteen seconds, the Moon after 15 and 45.
TEST(FaceTime, MinuteTurnsAndGlobesAlternate) {
    for (const auto& [secondsIntoDay, turning] : {std::pair{59.4, false}, {59.6, true}, {0.0, false}}) {
        EXPECT_EQ(at(secondsIntoDay).minuteIsTurning(), turning) << secondsIntoDay;
    }
    const std::pair<double, bool> moonShown[] = {{0.0, false},      {15.0, false},  {15.000001, true},
                                                 {29.9, true},      {30.0, false},  {45.0, false},
                                                 {45.000001, true}, {59.99, true}};
    for (const auto& [seconds, moon] : moonShown) {
        FaceTime time;
        time.seconds = seconds;
        EXPECT_EQ(time.showsMoon(), moon) << seconds;
    }
}
