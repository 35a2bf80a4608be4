#include "image/LabelNumber.h"

#include <limits>

namespace {

bool isSpace(std::uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

}  // namespace

bool readLabelNumber(const std::uint8_t* begin, const std::uint8_t* end, std::int64_t& value) {
    const std::uint8_t* at = begin;
    while (at < end && isSpace(*at)) {
        ++at;
    }
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) {
        negative = *at == '-';
        ++at;
    }
    if (at == end || !isDigit(*at)) {
        return false;
    }
    // Accumulated as a negative number, whose range reaches one further than the
    // positive one, so that the lowest 64-bit value reads exactly.
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t magnitude = 0;
    bool saturated = false;
    for (; at < end && isDigit(*at); ++at) {
        const std::int64_t digit = *at - '0';
        if (magnitude < (lowest + digit) / 10) {
            saturated = true;
        } else {
            magnitude = magnitude * 10 - digit;
        }
    }
    if (saturated) {
        value = negative ? lowest : std::numeric_limits<std::int64_t>::max();
    } else if (negative) {
        value = magnitude;
    } else {
        value = magnitude == lowest ? std::numeric_limits<std::int64_t>::max() : -magnitude;
    }
    return true;
}
