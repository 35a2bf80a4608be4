#pragma once

#include <cstdint>

// The day the calendar's first column shows.
enum class FirstWeekday : std::uint8_t { Sunday, Monday };

// What a user may change about the pictures. Every option off draws the clock
// as it has always been drawn.
struct FaceOptions {
    FirstWeekday firstWeekday = FirstWeekday::Sunday;
    bool earthshine = false;  // the Moon's night side lit faintly by the Earth
    friend bool operator==(const FaceOptions&, const FaceOptions&) = default;
};
