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

// A wall-clock moment as written, before its zone is applied.
struct WallTime {
    std::int64_t year = 0, month = 0, day = 0;
    std::int64_t hour = 0, minute = 0, second = 0;
    std::int64_t fractionTicks = 0;  // the second's fraction, 100 ns ticks
};

// YYYY-MM-DD, then T or t.
bool readDate(std::string_view text, std::size_t& position, WallTime& time) {
    return readDigits(text, position, 4, time.year) && expect(text, position, '-') &&
           readDigits(text, position, 2, time.month) && expect(text, position, '-') &&
           readDigits(text, position, 2, time.day) && (expect(text, position, 'T') || expect(text, position, 't'));
}

// The decimal fraction of a second after its point or comma: at least one digit,
// those past the seventh ignored.
bool readFraction(std::string_view text, std::size_t& position, std::int64_t& fractionTicks) {
    std::int64_t weight = ticksPerSecond / 10;
    std::size_t digits = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        fractionTicks += (text[position] - '0') * weight;
        weight /= 10;
        ++position;
        ++digits;
    }
    return digits > 0;
}

// hh:mm, then optionally :ss with optionally its fraction.
bool readTimeOfDay(std::string_view text, std::size_t& position, WallTime& time) {
    if (!readDigits(text, position, 2, time.hour) || !expect(text, position, ':') ||
        !readDigits(text, position, 2, time.minute)) {
        return false;
    }
    if (!expect(text, position, ':')) {
        return true;
    }
    if (!readDigits(text, position, 2, time.second)) {
        return false;
    }
    if (expect(text, position, '.') || expect(text, position, ',')) {
        return readFraction(text, position, time.fractionTicks);
    }
    return true;
}

bool isValidWallTime(const WallTime& time) {
    return time.month >= 1 && time.month <= 12 && time.day >= 1 && time.day <= daysInMonth(time.year, time.month) &&
           time.hour <= 23 && time.minute <= 59 && time.second <= 59;
}

// Z or z, or ±hh[:]mm: the local time's offset east of universal time, seconds.
// A wall-clock time without its zone names no moment.
bool readZoneOffset(std::string_view text, std::size_t& position, std::int64_t& offsetSeconds) {
    offsetSeconds = 0;
    if (expect(text, position, 'Z') || expect(text, position, 'z')) {
        return true;
    }
    if (position >= text.size() || (text[position] != '+' && text[position] != '-')) {
        return false;
    }
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
    return true;
}

}  // namespace

bool parseIsoTime(std::string_view text, platform::FileTime& utc) {
    std::size_t position = 0;
    WallTime time;
    std::int64_t offsetSeconds = 0;
    if (!readDate(text, position, time) || !readTimeOfDay(text, position, time) || !isValidWallTime(time) ||
        !readZoneOffset(text, position, offsetSeconds) || position != text.size() || time.year < 1601) {
        return false;
    }
    // Local time minus its offset from universal time.
    const std::int64_t seconds = daysSince1601(time.year, time.month, time.day) * secondsPerDay +
                                 (time.hour * 60 + time.minute) * 60 + time.second - offsetSeconds;
    if (seconds < 0) {
        return false;
    }
    utc = platform::FileTime::fromTicks(static_cast<std::uint64_t>(seconds * ticksPerSecond + time.fractionTicks));
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
