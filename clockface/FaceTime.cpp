#include "clockface/FaceTime.h"

#include "astro/TimeScale.h"

#include <cmath>

FaceTime FaceTime::fromLocalTime(platform::FileTime localTime) {
    const double days = ticksAsDouble(localTime) / (86400.0 * 1e7);
    const double dayFraction = days - std::floor(days);
    FaceTime time;
    time.hours = 24.0 * dayFraction + handsLeadSeconds / 3600.0;
    if (time.hours >= 12.0) {
        time.hours -= 12.0;
    }
    time.minutes = 60.0 * (time.hours - std::trunc(time.hours));
    time.seconds = 60.0 * (time.minutes - std::trunc(time.minutes));
    return time;
}

bool FaceTime::showsMoon() const {
    // The nearest multiple of 30 s, a tie going to the lower one.
    const double halfMinutes = seconds / 30.0;
    const double lower = std::floor(halfMinutes);
    const double upper = std::ceil(halfMinutes);
    const double nearest = upper - halfMinutes < halfMinutes - lower ? upper : lower;
    return seconds - 30.0 * nearest < 0.0;
}
