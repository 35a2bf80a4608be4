#pragma once

#include "raster/Canvas.h"
#include "raster/Color.h"

#include <cstdint>
#include <string_view>

class TextRenderer;

// Composites a text onto the canvas in the colour, centred horizontally on x with
// its bottom row at y (less scale × the text's top offset), both aligned down to a
// multiple of the canvas's supersampling factor; each text pixel covers
// scale × scale canvas pixels. heightPx is the text height in text pixels. The
// text is UTF-16 with the markup characters U+E000…U+E003; U+0000 ends it.
// Returns the text's width in text pixels, 0 when nothing could be rendered.
// When drawnArea is given it receives the store pixels the text may have
// touched (nothing when nothing was drawn).
std::int32_t drawText(Canvas& canvas, std::int32_t x, std::int32_t y, std::u16string_view text,
                      TextRenderer& renderer, std::int32_t heightPx, const Color& color,
                      StoreRect* drawnArea = nullptr);
