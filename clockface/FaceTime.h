#pragma once

#include "clockface/Timing.h"
#include "platform/Clock.h"

// The time the hands show, from the local wall-clock time, half a second ahead:
// every value carries its fraction so that the hands move continuously.
struct FaceTime {
    double hours = 0.0;    // 0 … 12 (just above 12 in the last half second of the day)
    double minutes = 0.0;  // 0 … 60
    double seconds = 0.0;  // 0 … 60

    static FaceTime fromLocalTime(platform::FileTime localTime);

    // True in the last half second before the minute turns (the lead included):
    // the calendar and the globes are redrawn then.
    bool minuteIsTurning() const { return seconds < turnWindowSeconds; }
    // The Earth shows while the seconds lie in [0, 15] or [30, 45], the Moon in
    // (15, 30) or (45, 60).
    bool showsMoon() const;
};
