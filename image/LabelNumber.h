#pragma once

#include <cstdint>

// Reads a signed decimal integer from the bytes [begin, end) the way a label or a
// header card states it: optional white space, an optional sign, then digits,
// stopping at the first byte that is not a digit. Never reads at or past end, so a
// number at the very end of a file or of a card cannot run on into what follows.
// A value too large for 64 bits is held at the nearest 64-bit limit. Returns false,
// leaving value unchanged, when no digit follows the white space and the sign.
bool readLabelNumber(const std::uint8_t* begin, const std::uint8_t* end, std::int64_t& value);
