#pragma once

#include "platform/FontRasterizer.h"

#include <cstdint>
#include <memory>

// A rendered text: white on black in a 24-bit bitmap whose rows run bottom-up,
// 3 bytes per pixel (blue, green, red) and 3 × width bytes per row. The green byte
// is the ink coverage, 0 background to 255 full ink.
struct TextImage {
    std::unique_ptr<platform::TextBitmap> bitmap;  // owns the pixel memory
    std::uint8_t* bits = nullptr;                  // the bitmap's pixels, bottom row first
    std::int32_t width = 0;      // pixels, a multiple of 4 so that rows need no padding
    std::int32_t height = 0;     // pixels, the laid-out height
    std::int32_t topOffset = 0;  // pixels that raised runs reach above the unraised text
};
