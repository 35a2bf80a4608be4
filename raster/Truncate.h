#pragma once

#include <cstdint>
#include <limits>

// Truncation toward zero of a double into a 32-bit integer. A value outside the
// 32-bit range, or a NaN, gives the smallest 32-bit integer, as the x86 conversion
// instruction does; this keeps such values harmless and identical on every build
// instead of leaving them undefined.
constexpr std::int32_t truncateToInt32(double value) {
    if (value > -2147483649.0 && value < 2147483648.0) {
        return static_cast<std::int32_t>(value);
    }
    return std::numeric_limits<std::int32_t>::min();
}

// The low eight bits of a value truncated toward zero.
constexpr std::uint8_t lowByteOfTruncated(double value) {
    return static_cast<std::uint8_t>(truncateToInt32(value) & 0xFF);
}
