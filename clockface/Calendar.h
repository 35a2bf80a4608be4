#pragma once

#include "platform/Clock.h"

#include <cstdint>

struct FaceState;

// Redraws the calendar canvas: seven weeks of seven days, Sunday to Saturday or
// Monday to Sunday as FaceState::options.firstWeekday says, the current week in
// the middle, under a header of weekday names. Each cell's hue tells its month,
// Saturdays and Sundays are more saturated and today takes the opposite hue.
// Then presents it and notes the day it shows (FaceState::calendarDay), which is
// the same whichever weekday comes first. Does nothing while the canvases do not
// exist.
void drawCalendar(FaceState& face, const platform::Clock& clock);

// The day the calendar shows as today for the clock's local time, with the
// hands' half-second lead: whole days since Sunday 2000-01-02.
std::int32_t calendarDay(const platform::Clock& clock);
