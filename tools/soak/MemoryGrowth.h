#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// One reading of the process's resident memory during a soak.
struct MemoryReading {
    std::int32_t hour = 0;    // the simulated hour it was taken in, 1 for the first
    std::int32_t minute = 0;  // simulated minutes of that hour run when it was taken, 1 … 60
    std::int32_t unit = 0;    // layout unit U the clock ran at, pixels
    std::uint64_t residentBytes = 0;
};

// How far memory may grow from the first reading at a unit to the last reading
// at it, bytes: 1 MB, counted as 1 048 576 bytes.
inline constexpr std::uint64_t allowedGrowthBytes = 1'048'576;

// The last reading of a run against the first one at the same unit: what the
// clock kept of a whole run, with the surfaces of that size built both times.
struct GrowthVerdict {
    MemoryReading first;           // the first reading at the last reading's unit
    MemoryReading last;            // the run's last reading
    std::int64_t growthBytes = 0;  // last minus first; negative when memory was given back
    bool withinLimit = false;      // growthBytes is at most allowedGrowthBytes
};

// Judges the readings of a run, taken in order. None when there are none.
std::optional<GrowthVerdict> judgeGrowth(const std::vector<MemoryReading>& readings);
