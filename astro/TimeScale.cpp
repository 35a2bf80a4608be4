#include "astro/TimeScale.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// 2^32: the weight of the high half of a tick count.
constexpr double twoTo32 = 4294967296.0;
// Days per 100-nanosecond tick: 1 / 864 000 000 000.
constexpr double daysPerTick = 1.1574074074074074e-12;
// Julian day of 1601-01-01 00:00, where tick counts start.
constexpr double julianDayOfTickZero = 2305813.5;
// Julian day of J2000.0 (2000-01-01 12:00).
constexpr double julianDayJ2000 = 2451545.0;
// Julian millennia per day: 1 / 365 250.
constexpr double millenniaPerDay = 2.737850787132101e-6;
// Julian day number of 1582-10-15, the first day of the Gregorian calendar.
constexpr std::int64_t gregorianReformDay = 2299161;

// floor(value) as an integer. Values beyond what a 32-bit integer holds saturate
// (and NaN gives 0), so absurd day counts give an absurd date, never undefined
// behaviour; within that range the result is the plain floor.
std::int64_t floorToInteger(double value) {
    constexpr double limit = 2147483647.0;
    if (std::isnan(value)) {
        return 0;
    }
    const double floored = std::floor(value);
    if (floored > limit) {
        return 2147483647;
    }
    if (floored < -limit - 1.0) {
        return -2147483647 - 1;
    }
    return static_cast<std::int64_t>(floored);
}

}  // namespace

double ticksAsDouble(platform::FileTime time) {
    // Each half is unsigned: a half with its top bit set is its signed value plus 2^32.
    return static_cast<double>(time.high) * twoTo32 + static_cast<double>(time.low);
}

double julianDayFromFileTime(platform::FileTime time) {
    return ticksAsDouble(time) * daysPerTick + julianDayOfTickZero;
}

double currentJulianDayUtc(const platform::Clock& clock) {
    return julianDayFromFileTime(clock.utcNow());
}

double currentJulianDayLocal(const platform::Clock& clock) {
    return julianDayFromFileTime(clock.localNow());
}

double millenniaSinceJ2000(double julianDay) {
    return (julianDay - julianDayJ2000) * millenniaPerDay;
}

double packedDateFromJulianDay(double julianDay) {
    // The classical conversion from a Julian day to a calendar date; divisions by
    // constants are multiplications by their reciprocals. The integers are 64-bit
    // so that saturated day numbers cannot overflow on the way.
    const double shifted = julianDay + 0.5;
    const std::int64_t dayNumber = floorToInteger(shifted);      // integer day, starting at midnight
    const double dayFraction = shifted - std::floor(shifted);     // 0 <= fraction < 1 since midnight

    std::int64_t a = dayNumber;
    if (dayNumber >= gregorianReformDay) {
        // Gregorian calendar: drop the century leap days the Julian calendar keeps.
        const std::int64_t alpha =
            floorToInteger((static_cast<double>(dayNumber) - 1867216.25) * 2.7379070069885075e-5);
        a = dayNumber + 1 + alpha - alpha / 4;  // integer division truncates toward zero
    }
    const std::int64_t b = a + 1524;
    const std::int64_t c = floorToInteger((static_cast<double>(b) - 122.1) * 0.0027378507871321013);
    const std::int64_t d = floorToInteger(365.25 * static_cast<double>(c));
    const std::int64_t e = floorToInteger(static_cast<double>(b - d) * 0.03267963176590926);
    const double day =
        static_cast<double>(b - d - floorToInteger(30.6001 * static_cast<double>(e))) + dayFraction;

    std::int64_t month = e - 1;
    std::int64_t year = c - 4716;
    if (month > 12) {
        month -= 12;
        year += 1;  // January and February belong to the next year
    }
    if (year <= 0) {
        year -= 1;  // no year zero: astronomical year 0 is 1 BC
    }
    const double packed = static_cast<double>((std::llabs(year) * 100 + month) * 100) + day;
    return year < 0 ? -packed : packed;
}
