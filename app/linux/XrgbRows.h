#pragma once

#include "raster/PixelGeometry.h"

#include <cstddef>
#include <cstdint>

namespace shell {

// Converts part of a picture as canvases paint it (three bytes blue, green,
// red a pixel, rows bottom-up) into 32-bit pixels whose bytes from the most
// significant are x (0xFF), red, green and blue, rows top-down: the format of
// an X server's 24-bit TrueColor images and of Wayland's XRGB8888, in this
// machine's byte order. The picture covers the rectangle picture of the
// target; the pixels of area, which lies inside it and inside the target, go
// to their own places of the target, whose rows are stridePx pixels apart.
void convertToXrgb(const std::uint8_t* rows, const PixelRect& picture, const PixelRect& area, std::uint32_t* target,
                   std::size_t stridePx);

}  // namespace shell
