#pragma once

#include "platform/Clock.h"

struct FaceState;

// Redraws the calendar canvas: seven weeks of seven days, Sunday to Saturday,
// the current week in the middle, under a header of weekday names. Each cell's
// hue tells its month, weekends are more saturated and today takes the opposite
// hue. Then presents it. Does nothing while the canvases do not exist.
void drawCalendar(FaceState& face, const platform::Clock& clock);
