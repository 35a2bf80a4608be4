#include "astro/ZoneRule.h"

#include <array>
#include <limits>
#include <utility>

namespace {

constexpr std::int64_t secondsPerDay = 86'400;
constexpr std::int32_t secondsPerHour = 3'600;
// The Gregorian calendar repeats every 400 years: 146 097 days, a whole number
// of weeks, so that dates and weekdays fall alike.
constexpr std::int64_t secondsPer400Years = 146'097 * secondsPerDay;

// Division rounding toward minus infinity, for a positive divisor.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t quotient = a / b;
    return a % b < 0 ? quotient - 1 : quotient;
}

bool isLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days from 1970-01-01 to the first of a month (1 to 12) of a Gregorian year,
// counting years from 1 March so that the leap day ends the year.
std::int64_t daysToMonth(std::int64_t year, std::int32_t month) {
    const std::int64_t marchYear = month <= 2 ? year - 1 : year;
    const std::int64_t era = floorDiv(marchYear, 400);
    const std::int64_t yearOfEra = marchYear - era * 400;                    // 0 to 399
    const std::int64_t dayOfYear = (153 * ((month + 9) % 12) + 2) / 5;       // from 1 March
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

// The Gregorian year in which a day (counted from 1970-01-01) falls.
std::int64_t yearOfDay(std::int64_t days) {
    const std::int64_t shifted = days + 719'468;                             // from 0000-03-01
    const std::int64_t era = floorDiv(shifted, 146'097);
    const std::int64_t dayOfEra = shifted - era * 146'097;                   // 0 to 146 096
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t marchMonth = (5 * dayOfYear + 2) / 153;               // 0 is March
    return yearOfEra + era * 400 + (marchMonth >= 10 ? 1 : 0);
}

std::int32_t daysInMonth(std::int64_t year, std::int32_t month) {
    constexpr std::array<std::int32_t, 12> lengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[static_cast<std::size_t>(month - 1)];
}

// Days from 1970-01-01 to the day a change falls on in a year.
std::int64_t dayOfChange(const ZoneRule::Change& change, std::int64_t year) {
    using Day = ZoneRule::Change::Day;
    const std::int64_t newYear = daysToMonth(year, 1);
    switch (change.kind) {
    case Day::Julian:
        // Day 60 is 1 March whether or not the year has a 29 February.
        return newYear + change.day - 1 + (isLeapYear(year) && change.day >= 60 ? 1 : 0);
    case Day::FromZero:
        return newYear + change.day;
    case Day::WeekdayOfMonth:
        break;
    }
    const std::int64_t first = daysToMonth(year, change.month);
    const std::int64_t sinceThursday = first + 4;  // 1970-01-01 was a Thursday, weekday 4
    const std::int64_t firstWeekday = sinceThursday - floorDiv(sinceThursday, 7) * 7;
    std::int64_t dayOfMonth = 1 + (change.weekday - firstWeekday + 7) % 7 + 7 * (change.week - 1);
    // Week 5 is the month's last such weekday, which may be its fourth.
    while (dayOfMonth > daysInMonth(year, change.month)) {
        dayOfMonth -= 7;
    }
    return first + dayOfMonth - 1;
}

// Reads the pieces of a rule from the front of its text.
class RuleText {
public:
    explicit RuleText(std::string_view text) : rest(text) {}

    bool atEnd() const { return rest.empty(); }
    bool next(char c) const { return !rest.empty() && rest.front() == c; }
    bool take(char c) {
        if (!next(c)) {
            return false;
        }
        rest.remove_prefix(1);
        return true;
    }
    bool nextStartsNumber() const { return !rest.empty() && (isDigit(rest.front()) || next('+') || next('-')); }

    // A time zone's name: three or more letters, or between < and > three or
    // more letters, digits, + and -. Only its presence matters here.
    bool name() {
        std::size_t length = 0;
        if (take('<')) {
            while (length < rest.size() && (isLetter(rest[length]) || isDigit(rest[length]) || rest[length] == '+' ||
                                            rest[length] == '-')) {
                ++length;
            }
            if (length < 3 || length == rest.size() || rest[length] != '>') {
                return false;
            }
            rest.remove_prefix(length + 1);
            return true;
        }
        while (length < rest.size() && isLetter(rest[length])) {
            ++length;
        }
        rest.remove_prefix(length);
        return length >= 3;
    }

    // [+|-]hh[:mm[:ss]] with hh up to maxHours, in seconds.
    bool duration(std::int32_t maxHours, std::int32_t& seconds) {
        const bool negative = take('-');
        if (!negative) {
            take('+');
        }
        std::int32_t hours = 0;
        std::int32_t minutes = 0;
        std::int32_t secondsPart = 0;
        if (!number(3, maxHours, hours)) {
            return false;
        }
        if (take(':') && (!number(2, 59, minutes) || (take(':') && !number(2, 59, secondsPart)))) {
            return false;
        }
        const std::int32_t magnitude = hours * secondsPerHour + minutes * 60 + secondsPart;
        seconds = negative ? -magnitude : magnitude;
        return true;
    }

    // Jn, n or Mm.w.d, then an optional /time.
    bool change(ZoneRule::Change& change) {
        using Day = ZoneRule::Change::Day;
        if (take('J')) {
            change.kind = Day::Julian;
            if (!number(3, 365, change.day) || change.day < 1) {
                return false;
            }
        } else if (take('M')) {
            change.kind = Day::WeekdayOfMonth;
            if (!number(2, 12, change.month) || change.month < 1 || !take('.') || !number(1, 5, change.week) ||
                change.week < 1 || !take('.') || !number(1, 6, change.weekday)) {
                return false;
            }
        } else {
            change.kind = Day::FromZero;
            if (!number(3, 365, change.day)) {
                return false;
            }
        }
        return !take('/') || duration(167, change.timeSeconds);
    }

private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

    // One to maxDigits decimal digits whose value is at most maxValue.
    bool number(std::size_t maxDigits, std::int32_t maxValue, std::int32_t& value) {
        std::size_t digits = 0;
        value = 0;
        while (digits < maxDigits && digits < rest.size() && isDigit(rest[digits])) {
            value = value * 10 + (rest[digits] - '0');
            ++digits;
        }
        rest.remove_prefix(digits);
        return digits > 0 && value <= maxValue;
    }

    std::string_view rest;
};

}  // namespace

std::optional<ZoneRule> ZoneRule::parse(std::string_view text) {
    ZoneRule rule;
    RuleText reader(text);
    // An offset of the rule counts west of Greenwich; a zone's offset, east.
    std::int32_t westSeconds = 0;
    if (!reader.name() || !reader.duration(24, westSeconds)) {
        return std::nullopt;
    }
    rule.standardOffsetSeconds = -westSeconds;
    if (reader.atEnd()) {
        rule.daylightOffsetSeconds = rule.standardOffsetSeconds;
        return rule;
    }
    if (!reader.name()) {
        return std::nullopt;
    }
    // Daylight time is one hour ahead of standard time unless the rule says.
    rule.daylightOffsetSeconds = rule.standardOffsetSeconds + secondsPerHour;
    if (reader.nextStartsNumber()) {
        if (!reader.duration(24, westSeconds)) {
            return std::nullopt;
        }
        rule.daylightOffsetSeconds = -westSeconds;
    }
    rule.keepsDaylightTime = true;
    if (!reader.take(',') || !reader.change(rule.daylightBegins) || !reader.take(',') ||
        !reader.change(rule.daylightEnds) || !reader.atEnd()) {
        return std::nullopt;
    }
    return rule;
}

std::int64_t ZoneRule::offsetSeconds(std::int64_t unixSeconds) const {
    if (!keepsDaylightTime) {
        return standardOffsetSeconds;
    }
    // The same moment of the 400-year cycle from 1970 on: nothing overflows
    // however far the moment lies, and the answer is the same. The remainder
    // is taken as it is, since the whole cycles before the earliest moments
    // would not fit in 64 bits.
    const std::int64_t remainder = unixSeconds % secondsPer400Years;
    const std::int64_t moment = remainder < 0 ? remainder + secondsPer400Years : remainder;
    const std::int64_t year = yearOfDay(floorDiv(moment, secondsPerDay));
    // The latest change at or before the moment decides: last year's for a
    // moment before this year's first change, next year's when its time of
    // day carries it back into this year (a change at -1:00 on 1 January).
    // Of two at the same moment the later in the rule's order wins, so that a
    // season ending where the next begins leaves daylight time unbroken.
    std::int64_t latest = std::numeric_limits<std::int64_t>::min();
    bool daylight = false;
    for (std::int64_t y = year - 1; y <= year + 1; ++y) {
        const std::int64_t begins =
            dayOfChange(daylightBegins, y) * secondsPerDay + daylightBegins.timeSeconds - standardOffsetSeconds;
        const std::int64_t ends =
            dayOfChange(daylightEnds, y) * secondsPerDay + daylightEnds.timeSeconds - daylightOffsetSeconds;
        for (const auto& [at, isDaylight] : {std::pair{begins, true}, std::pair{ends, false}}) {
            if (at <= moment && at >= latest) {
                latest = at;
                daylight = isDaylight;
            }
        }
    }
    return daylight ? daylightOffsetSeconds : standardOffsetSeconds;
}
