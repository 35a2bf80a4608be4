#pragma once

#include "astro/ZoneRule.h"
#include "platform/Result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// A time zone of the zone database: the offsets of its local time from
// universal time through its history and for every year to come, as its
// compiled zone file (TZif, versions 1 to 4) gives them. Leap seconds, which
// some builds of the database put in the files, are passed over: the clock
// counts the seconds of universal time as the computer's clock does.
class TimeZone {
public:
    // The zone a zone file's bytes describe: from a file of version 2 or
    // later its 64-bit data and the rule after its last transition, from one
    // of version 1 its 32-bit data. A failure, with the reason in a few words,
    // for bytes that are not a zone file or not a whole and sound one. Every
    // read stays within bytes.
    static Result<TimeZone> fromTzif(std::span<const std::uint8_t> bytes);

    // Local time minus universal time, seconds, at the universal moment
    // unixSeconds (seconds since 1970-01-01 00:00 UT, negative before); always
    // within -25 h and +26 h. Before the zone's first transition its first
    // offset holds (in most zones the local mean time of its city).
    std::int64_t offsetSeconds(std::int64_t unixSeconds) const;

private:
    std::vector<std::int64_t> transitionsUnixSeconds;  // strictly ascending, seconds since 1970
    std::vector<std::int32_t> offsetsAfterSeconds;     // local minus universal time from each transition on
    std::int32_t firstOffsetSeconds = 0;               // before the first transition
    std::optional<ZoneRule> laterRule;                 // after the last transition, when the file gives one
};

// The zone named name (as "Asia/Tokyo") from the zone database the system
// gives this program (platform/ZoneDatabase.h), or from the one in folder.
// A failure, with the reason in one line, for a name the database may not
// hold (see readZoneFile), a zone it does not have, or a damaged file.
Result<TimeZone> loadTimeZone(std::string_view name);
Result<TimeZone> loadTimeZone(const std::filesystem::path& folder, std::string_view name);
