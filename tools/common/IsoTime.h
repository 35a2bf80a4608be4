#pragma once

#include "platform/Clock.h"

#include <string_view>

// Reads an ISO-8601 moment such as 2000-01-01T12:00:00Z or
// 2026-12-08T04:15:25.5+01:00 (seconds and their fraction optional, a zone
// designator Z or ±HH:MM / ±HHMM required) as a tick count in universal time.
// Fractions finer than a tick (100 ns) are dropped. False for anything else,
// for impossible dates and for moments before 1601-01-01 00:00 UT.
bool parseIsoTime(std::string_view text, platform::FileTime& utc);
