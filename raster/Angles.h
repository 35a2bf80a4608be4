#pragma once

// The two factors between degrees and radians. Angles cross interfaces in
// degrees and become radians only as the arguments of the trigonometric
// functions; every conversion multiplies by one of these.
inline constexpr double radiansPerDegree = 0.017453292519943295;  // π/180
inline constexpr double degreesPerRadian = 57.29577951308232;     // 180/π
