#pragma once

#include <cstdint>

// What a canvas's pixel store holds. The canvas keeps the value in its integer
// field pixelFormat; any value but those below means no pixel store.
enum PixelFormat : std::int32_t {
    PixelFormatNone = 0,       // no pixel store
    PixelFormatRgbBytes = 1,   // three bytes per pixel: red, green, blue
    PixelFormatRgbFloats = 2,  // three 32-bit floats per pixel: red, green, blue, nominally 0…1
};

// What a canvas's depth plane holds, kept in its integer field depthFormat. A
// smaller depth is nearer; a cleared plane holds the farthest value.
enum DepthFormat : std::int32_t {
    DepthFormatNone = 0,    // no depth plane
    DepthFormatByte = 1,    // one unsigned byte per pixel, 0 … 255 (farthest)
    DepthFormatFloat = 2,   // one 32-bit float per pixel, farthest 1.0e30
    DepthFormatDouble = 3,  // one 64-bit float per pixel, farthest 1.0e30
};
