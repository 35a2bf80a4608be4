#include "app/DesktopPlace.h"

#include <algorithm>

namespace {

bool onRight(ScreenCorner corner) { return corner == ScreenCorner::TopRight || corner == ScreenCorner::BottomRight; }

bool onBottom(ScreenCorner corner) {
    return corner == ScreenCorner::BottomLeft || corner == ScreenCorner::BottomRight;
}

}  // namespace

DesktopPlace nearestCorner(const PixelRect& window, PixelSize screen) {
    // Twice the centre against the width, in 64 bits: no halves, no overflow.
    const bool right = static_cast<std::int64_t>(window.left) + window.right > screen.width;
    const bool bottom = static_cast<std::int64_t>(window.top) + window.bottom > screen.height;
    DesktopPlace place;
    place.corner = bottom ? (right ? ScreenCorner::BottomRight : ScreenCorner::BottomLeft)
                          : (right ? ScreenCorner::TopRight : ScreenCorner::TopLeft);
    place.marginXPx = std::clamp(right ? screen.width - window.right : window.left, 0, largestDesktopMarginPx);
    place.marginYPx = std::clamp(bottom ? screen.height - window.bottom : window.top, 0, largestDesktopMarginPx);
    return place;
}

PixelRect rectangleAt(const DesktopPlace& place, PixelSize window, PixelSize screen) {
    const std::int32_t left = onRight(place.corner) ? screen.width - place.marginXPx - window.width : place.marginXPx;
    const std::int32_t top = onBottom(place.corner) ? screen.height - place.marginYPx - window.height : place.marginYPx;
    return {left, top, left + window.width, top + window.height};
}
