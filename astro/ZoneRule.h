#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A zone's rule of local time that holds every year alike, written as the TZ
// environment variable of POSIX systems writes it: the standard time's name and
// offset, and for a zone that keeps daylight-saving time the daylight time's
// name, its offset and the two local moments of each year at which it begins
// and ends. Zone files end with the rule that follows their last transition:
//   <+0545>-5:45                               no daylight-saving time
//   NST3:30NDT,M3.2.0,M11.1.0                  daylight time one hour ahead
//   <+1030>-10:30<+11>-11,M10.1.0,M4.1.0       half an hour ahead, south of the equator
// Offsets count west of Greenwich, so that -5:45 is 5 h 45 min ahead of
// universal time. A change's time of day may lie from -167 h to +167 h, as zone
// files of version 3 and later allow, so that "M3.4.4/26" is 02:00 on the day
// after the fourth Thursday of March.
class ZoneRule {
public:
    // The rule text writes, or nothing when text is not such a rule whole.
    // Daylight time without the days of its changes is refused: zone files
    // always give them.
    static std::optional<ZoneRule> parse(std::string_view text);

    // Local time minus universal time, seconds, at the universal moment
    // unixSeconds (seconds since 1970-01-01 00:00 UT, negative before).
    std::int64_t offsetSeconds(std::int64_t unixSeconds) const;

    // One end of the daylight-saving season: a day of the year and the local
    // time of day on it.
    struct Change {
        enum class Day : std::uint8_t {
            Julian,        // Jn: day n of 1 to 365, 29 February never counted
            FromZero,      // n: day n of 0 to 365, 29 February counted
            WeekdayOfMonth // Mm.w.d: weekday d (0 Sunday to 6) of week w (1 to 5, 5 the last) of month m
        };
        Day kind = Day::Julian;
        std::int32_t day = 1;                   // Julian: 1 to 365; FromZero: 0 to 365
        std::int32_t month = 1;                 // WeekdayOfMonth: 1 to 12
        std::int32_t week = 1;                  // WeekdayOfMonth: 1 to 5
        std::int32_t weekday = 0;               // WeekdayOfMonth: 0 (Sunday) to 6
        std::int32_t timeSeconds = 2 * 3600;    // local time of day, seconds, -167 h to +167 h
    };

private:
    std::int32_t standardOffsetSeconds = 0;  // local minus universal time, seconds, within ±25 h
    std::int32_t daylightOffsetSeconds = 0;  // the same in daylight-saving time
    bool keepsDaylightTime = false;
    Change daylightBegins;  // in local standard time
    Change daylightEnds;    // in local daylight time
};
