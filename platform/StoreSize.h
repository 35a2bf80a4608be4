#pragma once

#include <cstdint>
#include <optional>
#include <utility>

// The sizes of the stores that hold pixels, glyph bitmaps and files' rows,
// checked in one place. Sides and counts come from files and from the window
// system, so each product is checked before anything is allocated or read for
// it, and every store keeps its byte count within a signed 32-bit number.

// The product of the factors: none when one is negative or the product passes
// 64 bits.
constexpr std::optional<std::int64_t> checkedProduct(std::int64_t a, std::int64_t b, std::int64_t c = 1) {
    std::int64_t ab = 0;
    std::int64_t abc = 0;
    if (a < 0 || b < 0 || c < 0 || __builtin_mul_overflow(a, b, &ab) || __builtin_mul_overflow(ab, c, &abc)) {
        return std::nullopt;
    }
    return abc;
}

// The bytes of a store of a × b × c: none when a factor is negative or the
// product passes 2^31 − 1. An empty store is 0 bytes.
constexpr std::optional<std::int32_t> storeBytes(std::int64_t a, std::int64_t b, std::int64_t c = 1) {
    const std::optional<std::int64_t> bytes = checkedProduct(a, b, c);
    if (!bytes || !std::in_range<std::int32_t>(*bytes)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*bytes);
}

// True when a picture's side, pixels, as a file or a decoder gives it, is at
// least 1 and fits a signed 32-bit count.
template <typename Integer>
constexpr bool isPictureSide(Integer sidePx) {
    return sidePx >= 1 && std::in_range<std::int32_t>(sidePx);
}
