#include "OffsetWatch.h"

namespace {
constexpr std::int64_t ticksPerSecond = 10'000'000;
}  // namespace

void OffsetWatch::observe(platform::FileTime utc, platform::FileTime local) {
    // The difference of two tick counts, taken in signed arithmetic: local time
    // lies west of universal time in half the world.
    const std::int64_t offsetSeconds =
        (static_cast<std::int64_t>(local.ticks()) - static_cast<std::int64_t>(utc.ticks())) / ticksPerSecond;
    if (lastOffsetSeconds && *lastOffsetSeconds != offsetSeconds) {
        seen.push_back({utc, *lastOffsetSeconds, offsetSeconds});
    }
    lastOffsetSeconds = offsetSeconds;
}
