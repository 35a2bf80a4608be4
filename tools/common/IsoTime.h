#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <string>
#include <string_view>

// Reads an ISO-8601 moment such as 2000-01-01T12:00:00Z or
// 2026-12-08T04:15:25.5+01:00 (seconds and their fraction optional, a zone
// designator Z or ±HH:MM / ±HHMM required) as a tick count in universal time.
// Fractions finer than a tick (100 ns) are dropped. False for anything else,
// for impossible dates and for moments before 1601-01-01 00:00 UT.
bool parseIsoTime(std::string_view text, platform::FileTime& utc);

// Writes a moment in universal time as ISO-8601 with Z, such as
// 2026-10-25T01:00:00Z; a fraction of a second, when there is one, to the
// millisecond (2026-10-25T01:00:00.250Z), finer digits dropped.
std::string formatIsoTime(platform::FileTime utc);

// Writes an offset from universal time as an ISO-8601 zone designator, ±HH:MM,
// such as +02:00 or -03:30; seconds of the offset are dropped.
std::string formatUtcOffset(std::int64_t offsetSeconds);
