#include "astro/ZoneClock.h"

#include <cstdint>
#include <limits>

namespace {

constexpr std::uint64_t ticksPerSecond = 10'000'000;
// Seconds from 1601-01-01, where file times start, to 1970-01-01, where zone
// files count from.
constexpr std::int64_t unixEpochSeconds = 11'644'473'600;

}  // namespace

platform::FileTime localTimeIn(const TimeZone& zone, platform::FileTime utc) {
    const std::uint64_t ticks = utc.ticks();
    // At most 1.9e12 seconds since 1601: the Unix second, negative before
    // 1970, is exact. The tick's fraction of a second is kept as it is.
    const std::int64_t unixSeconds = static_cast<std::int64_t>(ticks / ticksPerSecond) - unixEpochSeconds;
    const std::int64_t offsetSeconds = zone.offsetSeconds(unixSeconds);
    // Within a day or so: its ticks fit an unsigned count whichever way it points.
    const std::uint64_t shiftTicks =
        static_cast<std::uint64_t>(offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) * ticksPerSecond;
    if (offsetSeconds < 0) {
        return platform::FileTime::fromTicks(ticks < shiftTicks ? 0 : ticks - shiftTicks);
    }
    const std::uint64_t room = std::numeric_limits<std::uint64_t>::max() - ticks;
    return platform::FileTime::fromTicks(shiftTicks > room ? std::numeric_limits<std::uint64_t>::max()
                                                           : ticks + shiftTicks);
}
