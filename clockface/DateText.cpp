#include "clockface/DateText.h"

#include "clockface/CalendarRules.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// Astronomical numbering (1 BC is year 0) for the leap-year rules.
std::int32_t astronomicalYear(std::int32_t year) { return year < 0 ? year + 1 : year; }

bool isLeapYear(std::int32_t year, std::int32_t month) {
    // The Gregorian rule from 15 October 1582 on, the Julian one before.
    if (year < 1582 || (year == 1582 && month < 10)) {
        return isJulianLeapYear(astronomicalYear(year));
    }
    return isGregorianLeapYear(year);
}

std::int32_t lastDayOfMonth(std::int32_t year, std::int32_t month) {
    if (year == 1582 && month == 10) {
        return 31;  // 5 … 14 October never happened, but the 31st did
    }
    return monthLength(month, isLeapYear(year, month));
}

// The day after (year, month, day); historical years, so 1 BC is followed by AD 1.
void advanceOneDay(std::int32_t& year, std::int32_t& month, std::int32_t& day) {
    if (year == 1582 && month == 10 && day == 4) {
        day = 15;  // the Gregorian reform
        return;
    }
    if (++day <= lastDayOfMonth(year, month)) {
        return;
    }
    day = 1;
    if (++month <= 12) {
        return;
    }
    month = 1;
    year = year == -1 ? 1 : year + 1;
}

// Appends a whole number in decimal as printf's "%0*ld" writes it: at least
// `width` characters, zeros between the sign and the digits to make them up.
void appendPadded(std::string& text, long value, std::size_t width) {
    char digits[24];
    const std::size_t length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    const std::size_t sign = value < 0 ? 1 : 0;
    text.append(digits, sign);
    if (length < width) {
        text.append(width - length, '0');
    }
    text.append(digits + sign, length - sign);
}

}  // namespace

std::string formatDateTime(double packedDate) {
    const double a = std::fabs(packedDate);
    auto year = static_cast<std::int32_t>(a / 10000.0);
    double rest = a - 10000.0 * year;
    auto month = static_cast<std::int32_t>(rest / 100.0);
    rest = rest - 100.0 * month;  // the day of the month with the fraction of the day

    // Seconds since the start of the month's day 0, to the nearest whole second;
    // a tie goes to the lower second.
    const double exactSeconds = rest * 86400.0;
    double seconds = std::floor(exactSeconds);
    if (exactSeconds - seconds > 0.5) {
        seconds += 1.0;
    }
    const auto wholeSeconds = static_cast<std::int64_t>(seconds);
    auto day = static_cast<std::int32_t>(wholeSeconds / 86400);
    const std::int64_t secondOfDay = wholeSeconds % 86400;

    if (packedDate < 0) {
        year = -year;
    }
    // Rounding up to 24:00:00 shows 00:00:00 of the next calendar day.
    if (month >= 1 && month <= 12 && day > static_cast<std::int32_t>(rest)) {
        day = static_cast<std::int32_t>(rest);
        advanceOneDay(year, month, day);
    }

    // Formatted by hand rather than with snprintf, which the clock would call
    // four times a second: the same text as "%ld/%02ld/%02ld %02ld:%02ld:%02ld".
    std::string text;
    text.reserve(32);
    appendPadded(text, year, 1);
    text += '/';
    appendPadded(text, month, 2);
    text += '/';
    appendPadded(text, day, 2);
    text += ' ';
    appendPadded(text, static_cast<long>(secondOfDay / 3600), 2);
    text += ':';
    appendPadded(text, static_cast<long>(secondOfDay % 3600 / 60), 2);
    text += ':';
    appendPadded(text, static_cast<long>(secondOfDay % 60), 2);
    return text;
}
