#include "tools/common/IsoTime.h"

#include "clockface/CalendarRules.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr std::int64_t ticksPerSecond = 10000000;
constexpr std::int64_t secondsPerDay = 86400;

// Reads exactly count decimal digits at text[position], advancing position.
bool readDigits(std::string_view text, std::size_t& position, int count, std::int64_t& value) {
    if (position + static_cast<std::size_t>(count) > text.size()) {
        return false;
    }
    value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[position++];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

bool expect(std::string_view text, std::size_t& position, char wanted) {
    if (position < text.size() && text[position] == wanted) {
        ++position;
        return true;
    }
    return false;
}

std::int64_t daysInMonth(std::int64_t year, std::int64_t month) {
    return monthLength(static_cast<std::int32_t>(month), isGregorianLeapYear(year));
}

// Days from 1601-01-01 to the given Gregorian date (year 1601 or later).
std::int64_t daysSince1601(std::int64_t year, std::int64_t month, std::int64_t day) {
    const std::int64_t years = year - 1601;
    std::int64_t days = years * 365 + years / 4 - years / 100 + years / 400;
    for (std::int64_t m = 1; m < month; ++m) {
        days += daysInMonth(year, m);
    }
    return days + day - 1;
}

// The Gregorian date of a day counted from 1601-01-01, by Howard Hinnant's
// civil-from-days method: years are counted from 1 March so that the leap day
// ends them, in eras of 400 years (146 097 days).
void dateOfDay(std::int64_t daysSince1601, std::int64_t& year, std::int64_t& month, std::int64_t& day) {
    const std::int64_t days = daysSince1601 + 584694;          // days since 0000-03-01
    const std::int64_t era = days / 146097;
    const std::int64_t dayOfEra = days - era * 146097;          // 0 … 146 096
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // 0 … 399
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;  // 0 for March … 11 for February
    day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

bool parseIsoTime(std::string_view text, platform::FileTime& utc) {
    std::size_t position = 0;
    std::int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readDigits(text, position, 4, year) || !expect(text, position, '-') ||
        !readDigits(text, position, 2, month) || !expect(text, position, '-') ||
        !readDigits(text, position, 2, day)) {
        return false;
    }
    if (!expect(text, position, 'T') && !expect(text, position, 't')) {
        return false;
    }
    if (!readDigits(text, position, 2, hour) || !expect(text, position, ':') ||
        !readDigits(text, position, 2, minute)) {
        return false;
    }
    std::int64_t fractionTicks = 0;
    if (expect(text, position, ':')) {
        if (!readDigits(text, position, 2, second)) {
            return false;
        }
        if (expect(text, position, '.') || expect(text, position, ',')) {
            std::int64_t weight = ticksPerSecond / 10;
            std::size_t digits = 0;
            while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
                fractionTicks += (text[position] - '0') * weight;
                weight /= 10;
                ++position;
                ++digits;
            }
            if (digits == 0) {
                return false;
            }
        }
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return false;
    }

    std::int64_t offsetSeconds = 0;
    if (expect(text, position, 'Z') || expect(text, position, 'z')) {
    } else if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        const bool west = text[position++] == '-';
        std::int64_t offsetHours = 0, offsetMinutes = 0;
        if (!readDigits(text, position, 2, offsetHours)) {
            return false;
        }
        expect(text, position, ':');
        if (!readDigits(text, position, 2, offsetMinutes) || offsetHours > 23 || offsetMinutes > 59) {
            return false;
        }
        offsetSeconds = (offsetHours * 60 + offsetMinutes) * 60;
        if (west) {
            offsetSeconds = -offsetSeconds;
        }
    } else {
        return false;  // a wall-clock time without its zone names no moment
    }
    if (position != text.size() || year < 1601) {
        return false;
    }

    // Local time minus its offset from universal time.
    const std::int64_t seconds =
        daysSince1601(year, month, day) * secondsPerDay + (hour * 60 + minute) * 60 + second - offsetSeconds;
    if (seconds < 0) {
        return false;
    }
    utc = platform::FileTime::fromTicks(static_cast<std::uint64_t>(seconds * ticksPerSecond + fractionTicks));
    return true;
}

std::string formatIsoTime(platform::FileTime utc) {
    // Seconds since 1601 fit a signed count for every tick count there is.
    const std::uint64_t ticks = utc.ticks();
    const auto seconds = static_cast<std::int64_t>(ticks / ticksPerSecond);
    const auto milliseconds = static_cast<std::int64_t>(ticks % ticksPerSecond / 10000);
    std::int64_t year = 0, month = 0, day = 0;
    dateOfDay(seconds / secondsPerDay, year, month, day);
    const std::int64_t secondOfDay = seconds % secondsPerDay;
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day),
                  static_cast<long long>(secondOfDay / 3600), static_cast<long long>(secondOfDay / 60 % 60),
                  static_cast<long long>(secondOfDay % 60));
    std::string written = text;
    if (milliseconds != 0) {
        std::snprintf(text, sizeof text, ".%03lld", static_cast<long long>(milliseconds));
        written += text;
    }
    return written + "Z";
}

std::string formatUtcOffset(std::int64_t offsetSeconds) {
    const std::int64_t minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
    char text[24];
    std::snprintf(text, sizeof text, "%c%02lld:%02lld", offsetSeconds < 0 ? '-' : '+',
                  static_cast<long long>(minutes / 60), static_cast<long long>(minutes % 60));
    return text;
}
