#pragma once

#include "astro/TimeZone.h"
#include "platform/Clock.h"

#include <utility>

// The local time of a universal moment in zone: the moment moved by the zone's
// offset at that moment, to the tick. A local time before 1601 or past what a
// file time holds (the year 60056) stays at that end.
platform::FileTime localTimeIn(const TimeZone& zone, platform::FileTime utc);

// A clock that shows the time of one chosen zone, whatever the computer's own:
// universal time as another clock gives it, local time by the zone's rules.
class ZoneClock final : public platform::Clock {
public:
    // universal must outlive the clock.
    ZoneClock(const platform::Clock& universal, TimeZone shown) : universalClock(universal), zone(std::move(shown)) {}

    platform::FileTime utcNow() const override { return universalClock.utcNow(); }
    platform::FileTime localNow() const override { return localTimeIn(zone, universalClock.utcNow()); }

private:
    const platform::Clock& universalClock;
    TimeZone zone;
};
