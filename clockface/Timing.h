#pragma once

#include <cstdint>

// The clock's rhythm in one place: the shells' timer, the half second the
// hands run ahead, and the window before each turn of the minute in which the
// calendar and the globes are redrawn; with what follows from them.

// The period of the shells' timer, whose ticks drive the clock, milliseconds.
inline constexpr std::int32_t tickPeriodMs = 250;
// Timer ticks in a minute.
inline constexpr std::int32_t ticksPerMinute = 60'000 / tickPeriodMs;
// Timer ticks that a moved window must stand still before its place is saved:
// a second.
inline constexpr std::int32_t ticksOfStillnessBeforeSaving = 1'000 / tickPeriodMs;

// Times as the platform counts them, in 100-ns units.
inline constexpr std::int64_t units100nsPerMs = 10'000;
inline constexpr std::int64_t tickPeriod100ns = tickPeriodMs * units100nsPerMs;  // a timer tick
inline constexpr std::int64_t minute100ns = 60'000 * units100nsPerMs;            // a minute

// The hands run half a second ahead of the clock, so that they reach each
// second as it begins rather than a tick after.
inline constexpr double handsLeadSeconds = 0.5;
inline constexpr std::int64_t handsLead100ns = 500 * units100nsPerMs;
// The turn of the minute is drawn in its window: the first 0.4 s of the
// hands' minute, which is the 0.5 s to 0.1 s before the clock's own turn.
inline constexpr double turnWindowSeconds = 0.4;

static_assert(60'000 % tickPeriodMs == 0, "a minute holds a whole number of ticks");
static_assert(static_cast<double>(handsLead100ns) == handsLeadSeconds * 1e7, "one lead, counted two ways");
static_assert(turnWindowSeconds * 1'000.0 > tickPeriodMs, "every turn of the minute has a tick in its window");
static_assert(turnWindowSeconds < handsLeadSeconds, "the turn is drawn before the clock's minute turns");
