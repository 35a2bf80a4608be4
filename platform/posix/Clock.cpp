#include "platform/Clock.h"

#include <atomic>
#include <ctime>

namespace platform {

namespace {
constexpr std::uint64_t ticksPerSecond = 10'000'000;
// Seconds from 1601-01-01 to the Unix epoch 1970-01-01.
constexpr std::int64_t epochOffsetSeconds = 11'644'473'600;

// Seconds east of Greenwich that the C library's time zone gives this moment.
std::int64_t utcOffsetSeconds(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local.tm_gmtoff;
}

// The second of the monotonic clock in which the time zone was last looked at.
std::atomic<std::int64_t> zoneLookedAt{-1};

// The C library reads the time zone once, and localtime_r never looks again, so
// a clock would keep the zone it started in. tzset() looks again: without TZ it
// stats /etc/localtime and reads it anew only when the file changed (as when
// the system's zone is set and the link replaced); with TZ set, which still
// wins, it only compares the variable with the value it read last. Asked once
// a second of the monotonic clock, which runs on whatever is done to the wall
// clock, it costs the ticking clock one stat a second, and a new zone shows
// within the second.
void followTimeZone() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (zoneLookedAt.exchange(now.tv_sec, std::memory_order_relaxed) != now.tv_sec) {
        tzset();
    }
}

FileTime ticksFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    const auto ticks = static_cast<std::uint64_t>(seconds + epochOffsetSeconds) * ticksPerSecond +
                       static_cast<std::uint64_t>(nanoseconds / 100);
    return FileTime::fromTicks(ticks);
}
}  // namespace

FileTime SystemClock::utcNow() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return ticksFromUnix(now.tv_sec, now.tv_nsec);
}

FileTime SystemClock::localNow() const {
    followTimeZone();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return ticksFromUnix(now.tv_sec + utcOffsetSeconds(now.tv_sec), now.tv_nsec);
}

FileTime localFromUtc(FileTime utc) {
    const std::uint64_t ticks = utc.ticks();
    const auto seconds = static_cast<std::int64_t>(ticks / ticksPerSecond) - epochOffsetSeconds;
    const auto fraction = static_cast<std::int64_t>(ticks % ticksPerSecond);
    return FileTime::fromTicks(static_cast<std::uint64_t>(
        (seconds + utcOffsetSeconds(static_cast<std::time_t>(seconds)) + epochOffsetSeconds) *
            static_cast<std::int64_t>(ticksPerSecond) + fraction));
}

}  // namespace platform
