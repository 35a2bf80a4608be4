#pragma once

#include "platform/Clock.h"

#include <cstdint>

// The local wall-clock time of a universal moment in some time zone:
// platform::localFromUtc for the process's own.
using LocalTimeOf = platform::FileTime (*)(platform::FileTime utc);

// A clock whose time moves only when it is told to, so that hours pass in
// seconds. Local time follows the zone's rules for each moment, daylight saving
// included, as the computer's clock does.
class SimulatedClock final : public platform::Clock {
public:
    explicit SimulatedClock(platform::FileTime startUtc, LocalTimeOf zone = platform::localFromUtc);

    // Moves the clock on by this many 100-ns ticks.
    void advance(std::uint64_t ticks);

    platform::FileTime utcNow() const override { return utc; }
    platform::FileTime localNow() const override { return local; }

private:
    LocalTimeOf localOf;
    platform::FileTime utc;
    platform::FileTime local;  // localOf(utc), worked out once per step
};
