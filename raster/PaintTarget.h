#pragma once

#include "raster/PixelGeometry.h"

#include <cstdint>

// Where a canvas paints its display picture: a window's client area on screen.
// The picture is 24-bit, three bytes blue, green, red per pixel, rows bottom-up
// with no padding (its width is always a multiple of 4 pixels).
class PaintTarget {
public:
    virtual ~PaintTarget() = default;
    // Copies the picture to (x, y) of the target, y counted down from the top,
    // one target pixel per picture pixel: the part of it that lies in area of
    // the target alone.
    virtual void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                  const std::uint8_t* rows, const PixelRect& area) = 0;
};
