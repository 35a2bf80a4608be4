#include "astro/TimeScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

struct DateCase {
    double julianDay;
    double packedDate;
    const char* what;
};

// Reference dates: the first and last days of either calendar at the reform, a
// Gregorian century year without 29 February, the start of the era and the
// epoch of the day count (hand calculations with the Julian and Gregorian rules).
constexpr DateCase dateCases[] = {
    {2451545.0, 20000101.5, "J2000.0, noon"},
    {2299160.5, 15821015.0, "first Gregorian day"},
    {2299159.5, 15821004.0, "last Julian day"},
    {2488128.0, 21000228.5, "2100-02-28 noon"},
    {2488128.4999, 21000228.9999, "2100-02-28 just before midnight"},
    {2488128.5, 21000301.0, "2100 has no 29 February"},
    {2415079.5, 19000301.0, "1900 has no 29 February"},
    {2451603.5, 20000229.0, "2000 has 29 February"},
    {2305813.5, 16010101.0, "1601-01-01, where tick counts start"},
    {1721423.5, 10101.0, "AD 1 January 1"},
    {1721422.5, -11231.0, "1 BC December 31"},
    {1721057.5, -10101.0, "1 BC January 1"},
    {1720692.5, -20101.0, "2 BC January 1"},
    {1721116.5, -10229.0, "1 BC, a Julian leap year, has 29 February"},
    {0.0, -47130101.5, "day zero, noon"},
    {-0.25, -47130101.25, "before day zero"},
    {-1.0, -47141231.5, "the day before day zero: 4714 BC"},
};

TEST(PackedDate, ConvertsAcrossTheReformAndTheEra) {
    for (const DateCase& c : dateCases) {
        // The day fraction carries the rounding of JD + 0.5: 1e-6 day is 0.09 s.
        EXPECT_NEAR(packedDateFromJulianDay(c.julianDay), c.packedDate, 1e-6) << c.what;
    }
}

TEST(PackedDate, NeverShowsTheSameDayTwiceOrSkipsOne) {
    // Walking day by day from 4800 BC to AD 2400 the day of the month either
    // grows by one or starts again at 1 in the next month.
    double previous = packedDateFromJulianDay(-0.5);
    for (double jd = 0.5; jd < 2600000.0; jd += 1.0) {
        const double current = packedDateFromJulianDay(jd);
        const double previousDay = std::floor(std::fmod(std::fabs(previous), 100.0));
        const double currentDay = std::floor(std::fmod(std::fabs(current), 100.0));
        if (jd == 2299160.5) {
            ASSERT_EQ(currentDay, 15.0);  // the reform drops ten days
        } else if (currentDay != 1.0) {
            ASSERT_EQ(currentDay, previousDay + 1.0) << "JD " << jd;
        } else {
            ASSERT_GE(previousDay, 28.0) << "JD " << jd;
        }
        previous = current;
    }
}

TEST(PackedDate, AbsurdDayCountsGiveAResultWithoutOverflow) {
    EXPECT_TRUE(packedDateFromJulianDay(1.0e300) > 0.0);
    EXPECT_TRUE(packedDateFromJulianDay(-1.0e300) < 0.0);
}

TEST(FileTimeConversion, TakesEachHalfAsUnsigned) {
    // A low half with its top bit set must count 2^31 and more, not a negative number.
    const platform::FileTime below = platform::FileTime::fromTicks(0x000000017FFFFFFFull);
    const platform::FileTime above = platform::FileTime::fromTicks(0x0000000180000000ull);
    EXPECT_EQ(ticksAsDouble(above) - ticksAsDouble(below), 1.0);
    EXPECT_EQ(ticksAsDouble(platform::FileTime{0xFFFFFFFFu, 0u}), 4294967295.0);
    EXPECT_EQ(ticksAsDouble(platform::FileTime{0u, 0x80000000u}), 9223372036854775808.0);
    EXPECT_EQ(ticksAsDouble(platform::FileTime{0xFFFFFFFFu, 0xFFFFFFFFu}), 18446744073709551615.0);
}

TEST(FileTimeConversion, GivesTheJulianDay) {
    EXPECT_EQ(julianDayFromFileTime(platform::FileTime{}), 2305813.5);
    // 2000-01-01 12:00 UT is 125912016000000000 ticks after 1601-01-01.
    const double jd = julianDayFromFileTime(platform::FileTime::fromTicks(125912016000000000ull));
    EXPECT_NEAR(jd, 2451545.0, 1e-9);  // 1e-9 day: the double's grain at this size is 5e-10
}

TEST(FileTimeConversion, ReadsTheClock) {
    const platform::FixedClock clock(platform::FileTime::fromTicks(125912016000000000ull),
                                     platform::FileTime::fromTicks(125912052000000000ull));
    EXPECT_NEAR(currentJulianDayUtc(clock), 2451545.0, 1e-9);
    EXPECT_NEAR(currentJulianDayLocal(clock), 2451545.0 + 1.0 / 24.0, 1e-9);
}

TEST(Millennia, CountFromJ2000) {
    EXPECT_EQ(millenniaSinceJ2000(2451545.0), 0.0);
    EXPECT_NEAR(millenniaSinceJ2000(2451545.0 + 365.25), 0.001, 1e-15);
    EXPECT_NEAR(millenniaSinceJ2000(2451545.0 - 36525.0), -0.1, 1e-15);
}

}  // namespace
