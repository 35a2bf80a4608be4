#include "SimulatedClock.h"

SimulatedClock::SimulatedClock(platform::FileTime startUtc, LocalTimeOf zone)
    : localOf(zone), utc(startUtc), local(zone(startUtc)) {}

void SimulatedClock::advance(std::uint64_t ticks) {
    utc = platform::FileTime::fromTicks(utc.ticks() + ticks);
    local = localOf(utc);
}
