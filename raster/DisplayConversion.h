#pragma once

#include <cstddef>
#include <cstdint>

// Conversions from a canvas pixel store to its 24-bit display picture. The picture
// has storeWidth/scale columns and storeHeight/scale rows of three bytes blue,
// green, red each, rows bottom-up and packed one after the other; each display
// pixel is the average of a scale × scale block of store pixels.

// A rectangle of display pixels: columns firstColumn … firstColumn + columns − 1
// of rows firstRow … firstRow + rows − 1, rows counted from the bottom.
struct DisplayBlocks {
    std::size_t firstColumn = 0;
    std::size_t firstRow = 0;
    std::size_t columns = 0;
    std::size_t rows = 0;
};

// A store of three bytes red, green, blue per pixel. Block sums are integers and
// each average is truncated.
void convertBytePixels(const std::uint8_t* store, std::int32_t storeWidth,
                       std::int32_t storeHeight, std::int32_t scale, std::uint8_t* display);
// The same for the display pixels of blocks alone; the others stay as they are.
void convertBytePixels(const std::uint8_t* store, std::int32_t storeWidth, std::int32_t scale,
                       std::uint8_t* display, const DisplayBlocks& blocks);

// A store of three 32-bit floats red, green, blue per pixel. Block averages are
// taken in double precision and scaled by 255.5/peak (255.5 when peak is 0); the
// result is clamped to 0…255 and truncated.
void convertFloatPixels(const std::uint8_t* store, std::int32_t storeWidth,
                        std::int32_t storeHeight, std::int32_t scale, double peak,
                        std::uint8_t* display);
