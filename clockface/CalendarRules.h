#pragma once

#include <cstdint>

// The calendar's rules, for astronomical year numbers (1 BC is year 0, 2 BC
// year −1), so that they hold for years before the era as well.
inline constexpr bool isJulianLeapYear(std::int64_t year) { return year % 4 == 0; }
inline constexpr bool isGregorianLeapYear(std::int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The days of month 1 … 12 in a common or a leap year.
inline constexpr std::int32_t monthLength(std::int32_t month, bool leapYear) {
    constexpr std::int32_t days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear ? 29 : days[month - 1];
}
