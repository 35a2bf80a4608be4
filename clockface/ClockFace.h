#pragma once

#include "platform/Clock.h"

struct FaceState;

// Redraws the clock canvas for the clock's local time: the globe picture (the
// Earth or the Moon, alternating every 15 seconds), the tick marks, the numerals,
// the three hands and the date and time below the dial; then presents it. In the
// last half second before a minute turns it first redraws the calendar and
// renders new globe pictures. Does nothing while the canvases do not exist.
void drawClockFace(FaceState& face, const platform::Clock& clock);
