#include "MemoryGrowth.h"

#include <algorithm>

std::optional<GrowthVerdict> judgeGrowth(const std::vector<MemoryReading>& readings) {
    if (readings.empty()) {
        return std::nullopt;
    }
    const MemoryReading& last = readings.back();
    const MemoryReading& first = *std::find_if(readings.begin(), readings.end(),
                                               [&](const MemoryReading& reading) { return reading.unit == last.unit; });
    GrowthVerdict verdict{first, last, 0, false};
    verdict.growthBytes = static_cast<std::int64_t>(last.residentBytes) - static_cast<std::int64_t>(first.residentBytes);
    verdict.withinLimit = verdict.growthBytes <= static_cast<std::int64_t>(allowedGrowthBytes);
    return verdict;
}
