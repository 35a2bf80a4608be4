#pragma once

#include "platform/Clock.h"
#include "raster/Canvas.h"

#include <vector>

struct FaceState;

// What a redraw of the face changed: the parts of the clock canvas whose
// display pixels were presented anew (store pixels, whole display blocks), and
// whether the calendar was drawn again.
struct FaceDamage {
    std::vector<StoreRect> clock;
    bool calendar = false;
};

// Redraws the clock canvas for the clock's local time: the globe picture (the
// Earth or the Moon, alternating every 15 seconds), the tick marks, the numerals,
// the three hands and the date and time below the dial; then presents it. In the
// last half second before a minute turns it first redraws the calendar. The
// globe pictures it shows are the ones the rebuild and the minute's work
// (MinuteWork) made. Does nothing while the canvases do not exist.
//
// Only what moved is drawn again: when the background is the one the canvas
// already stands on, the places the hands left and took, and the date line
// when its text changed, are restored from the kept background and drawn over;
// every pixel comes out as a whole redraw would make it.
FaceDamage drawClockFace(FaceState& face, const platform::Clock& clock);
