#pragma once

#include "app/Layout.h"

#include <cstdint>
#include <span>

// Where a window with a saved position opens. A position that leaves the whole
// window off every screen (a monitor since unplugged, a damaged settings file) is
// moved to the top-left corner of the first screen, so the window can always be
// reached; any other position is kept as it was, even when partly off screen.
// left and top are the outer window's corner, width and height its outer size,
// the screens outer rectangles in screen pixels, the primary one first.
void bringOntoScreen(std::int32_t& left, std::int32_t& top, std::int32_t widthPx,
                     std::int32_t heightPx, std::span<const PixelRect> screens);
