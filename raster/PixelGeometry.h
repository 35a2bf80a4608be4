#pragma once

#include <cstdint>

// The plane's small words, in whole pixels. On a screen and in a window x grows
// to the right and y down from the top; in a canvas's store y grows upward from
// the bottom row (StoreRect, in Canvas.h). flipRow and flipEdge go between them.

// A point: a place on the screen, or a pixel of a picture.
struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A width and a height, pixels: a client area, or what a frame adds to one.
struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// A rectangle, y down from the top, right and bottom exclusive: a window on the
// screen, a screen itself, or an area of a client area.
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

// A row of a picture heightPx rows high, counted from the other end: from a row
// counted down from the top to the same row counted up from the bottom, and back.
constexpr std::int32_t flipRow(std::int32_t row, std::int32_t heightPx) { return heightPx - 1 - row; }

// An edge between rows (a rectangle's exclusive top or bottom), counted from the
// other end of a picture heightPx rows high.
constexpr std::int32_t flipEdge(std::int32_t edge, std::int32_t heightPx) { return heightPx - edge; }
