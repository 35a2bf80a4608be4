#pragma once

#include "raster/PixelGeometry.h"

#include <cstdint>

// The corners of a screen a window on the desktop holds on to.
enum class ScreenCorner : std::int32_t { None = 0, TopLeft = 1, TopRight = 2, BottomLeft = 3, BottomRight = 4 };

// Where a window lying on the desktop (below the others, on a window system
// that places such windows by a corner of the screen) stands: the corner and
// its distances from that corner's two edges, pixels of the screen. None when
// the window is an ordinary one.
struct DesktopPlace {
    ScreenCorner corner = ScreenCorner::None;
    std::int32_t marginXPx = 0;  // from the corner's left or right edge
    std::int32_t marginYPx = 0;  // from the corner's top or bottom edge
    friend bool operator==(const DesktopPlace&, const DesktopPlace&) = default;
};

// Margins are trusted up to this many pixels, beyond every screen made; more
// (from a damaged file) counts as none.
inline constexpr std::int32_t largestDesktopMarginPx = 100000;

// The place of a window at this rectangle of a screen of this size: the corner
// nearest the window's centre, and the window's distances from its edges, at
// least 0 (a window partly off the screen sits at the edge).
DesktopPlace nearestCorner(const PixelRect& window, PixelSize screen);

// The window's rectangle on a screen of this size for a place (the place of
// None: the top-left corner).
PixelRect rectangleAt(const DesktopPlace& place, PixelSize window, PixelSize screen);
