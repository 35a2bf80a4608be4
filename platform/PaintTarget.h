#pragma once

#include <cstdint>

namespace platform {

// A rectangle of a target, pixels: x to the right and y down from the top,
// right and bottom exclusive.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    // The part of both.
    PixelRect intersect(const PixelRect& other) const {
        return {left > other.left ? left : other.left, top > other.top ? top : other.top,
                right < other.right ? right : other.right, bottom < other.bottom ? bottom : other.bottom};
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

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

}  // namespace platform
