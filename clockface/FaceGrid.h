#pragma once

#include <cstdint>

// The clock's grid in layout units U: the face above the calendar, each 7U wide
// and 8U high, so the client area keeps 7:16.
inline constexpr std::int32_t gridColumns = 7;             // client width in units
inline constexpr std::int32_t faceRows = 8;                // face and calendar height in units
inline constexpr std::int32_t gridRows = 2 * faceRows;     // client height in units

// The unit of the first start and of the M key, pixels at 100 % (96 DPI).
inline constexpr std::int32_t defaultUnit = 28;
