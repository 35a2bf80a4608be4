#pragma once

#include <cstdint>

namespace platform::posix {

// One opened picture file, ready to deliver its single frame in the layout the
// decoder chose: 1 (grey), 3 (blue, green, red) or 4 (blue, green, red, straight
// alpha) bytes per pixel, top row first.
class FrameReader {
public:
    virtual ~FrameReader() = default;
    // Writes every row, row i at buffer + i × strideBytes; the caller has checked
    // that the rows fit. 1 on success, 0 when the data can't be decoded.
    virtual std::int32_t copyRows(std::int32_t strideBytes, std::uint8_t* buffer) = 0;

    std::int32_t channels = 0;  // bytes per delivered pixel
    std::int32_t width = 0;     // pixels per row
    std::int32_t height = 0;    // rows
};

}  // namespace platform::posix
