#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <vector>

// A change of the local time's offset from universal time: a daylight-saving
// change, or any other change of the zone's rules.
struct OffsetChange {
    platform::FileTime firstUtc;     // the first moment seen with the new offset
    std::int64_t beforeSeconds = 0;  // local minus universal time before the change, seconds
    std::int64_t afterSeconds = 0;   // the same after it, seconds
};

// Follows the offset of local from universal time over the moments it is shown,
// in order, and keeps every change it sees.
class OffsetWatch {
public:
    void observe(platform::FileTime utc, platform::FileTime local);

    // The changes seen, in order; empty while the offset has stayed the same.
    const std::vector<OffsetChange>& changes() const { return seen; }

private:
    std::optional<std::int64_t> lastOffsetSeconds;
    std::vector<OffsetChange> seen;
};
