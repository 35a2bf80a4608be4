#include "clockface/DateText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {
double packed(double ymd, double hours, double minutes, double seconds) {
    return ymd + (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
}
}  // namespace

TEST(FormatDateTime, RoundsToTheNearestSecondAndCarriesAcrossDaysMonthsAndYears) {
    struct Case {
        double packedDate;
        const char* text;
    };
    const Case cases[] = {
        {packed(20261208, 4, 15, 25.4), "2026/12/08 04:15:25"},
        {packed(20261208, 4, 15, 25.6), "2026/12/08 04:15:26"},
        {packed(20261231, 23, 59, 59.7), "2027/01/01 00:00:00"},
        {packed(20240228, 23, 59, 59.9), "2024/02/29 00:00:00"},  // a leap year
        {packed(21000228, 23, 59, 59.9), "2100/03/01 00:00:00"},  // a Gregorian century year that is not
        {packed(20261130, 23, 59, 59.8), "2026/12/01 00:00:00"},
        {packed(20261209, 10, 8, 30.0), "2026/12/09 10:08:30"},
        {20000101.5, "2000/01/01 12:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDateTime(c.packedDate), c.text) << c.packedDate;
    }
}

TEST(FormatDateTime, NegativeDatesAreYearsBeforeOurEra) {
    EXPECT_EQ(formatDateTime(-(440315.0 + 0.5)), "-44/03/15 12:00:00");
    // The last moment of 1 BC rounds into 1 January of AD 1: there is no year 0.
    EXPECT_EQ(formatDateTime(-(11231.0 + (86400.0 - 0.2) / 86400.0)), "1/01/01 00:00:00");
}

TEST(FormatDateTime, WritesWhatPrintfWritesForShortLongAndNegativeYears) {
    // Years of one to five digits either side of our era, at hours, minutes and
    // seconds of one and two digits.
    for (const double year : {-12345.0, -44.0, -1.0, 1.0, 7.0, 99.0, 476.0, 2026.0, 12345.0}) {
        for (const double seconds : {0.0, 7.0, 3599.0, 40000.0, 86399.0}) {
            const double whole = std::fabs(year) * 10000.0 + 304.0 + seconds / 86400.0;
            const double date = year < 0 ? -whole : whole;
            char expected[64];
            std::snprintf(expected, sizeof expected, "%ld/%02ld/%02ld %02ld:%02ld:%02ld", static_cast<long>(year),
                          3L, 4L, static_cast<long>(seconds) / 3600, static_cast<long>(seconds) % 3600 / 60,
                          static_cast<long>(seconds) % 60);
            EXPECT_EQ(formatDateTime(date), expected) << year << " " << seconds;
        }
    }
}
