#pragma once

#include "platform/FontRasterizer.h"

#include <cstdint>
#include <memory>

// One cached font of the renderer: the platform font of one cell height with its
// metrics, and how many text runs are using it right now. An entry with no user
// may be evicted when the cache grows past its limit.
struct FontEntry {
    std::unique_ptr<platform::EngineFont> font;
    std::int32_t height = 0;      // the cache key: the cell height asked for, pixels
    std::int32_t cellHeight = 0;  // the font's cell height, pixels
    std::int32_t ascent = 0;      // baseline below the top of the cell, pixels
    std::int32_t descent = 0;     // bottom of the cell below the baseline, pixels
    std::int16_t useCount = 0;    // text runs currently using the font
};
