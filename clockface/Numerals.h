#pragma once

#include <cstdint>
#include <string>

// What the dial and the calendar share: numbers written as text, and the hue of
// each month, which the dial's numeral n wears as well.

// n in decimal digits, with a minus sign when negative.
inline std::u16string decimal(std::int32_t n) {
    const std::string digits = std::to_string(n);
    return {digits.begin(), digits.end()};
}

// The hue of a month 1 … 12, degrees: January 210°, falling by 30° a month,
// kept in 0 … 360.
inline double monthHueDeg(std::int32_t month) {
    double hue = 210.0 - 30.0 * (month - 1);
    if (hue < 0.0) {
        hue += 360.0;
    }
    return hue;
}
