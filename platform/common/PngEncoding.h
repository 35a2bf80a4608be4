#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Encodes rows of channels bytes a pixel (3: blue, green, red; 4: and alpha),
// top row first, row i at rows + i × strideBytes, as a PNG file's bytes in
// memory, with the operating system's encoder. False when the encoder fails or
// cannot take a picture of this size. The caller has checked that rows is
// given, both sides are at least 1 and a row of the stride holds width pixels.
bool encodePng(std::string& encoded, std::int32_t width, std::int32_t height, std::int32_t strideBytes,
               const std::uint8_t* rows, std::int32_t channels);

}  // namespace platform
