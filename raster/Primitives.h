#pragma once

#include "raster/Canvas.h"
#include "raster/Color.h"

#include <cstdint>

// Integer rasterisers over a canvas, in pixel-store coordinates (x right, y up).
// Every pixel goes through Canvas::plot, so pixels outside the canvas or its clip
// shape are skipped.

// Moves the end points of a segment onto the canvas; 0 when no part can show.
std::int32_t clipLine(const Canvas& canvas, std::int32_t& x0, std::int32_t& y0, std::int32_t& x1,
                      std::int32_t& y1);
void line(Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
          const Color& color);
void fillRect(Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              const Color& color);
void span(Canvas& canvas, std::int32_t x0, std::int32_t x1, std::int32_t y, const Color& color);
// filled = 0 draws the three edges, anything else fills the scanlines between them.
void triangle(Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              std::int32_t x2, std::int32_t y2, const Color& color, std::int16_t filled);
