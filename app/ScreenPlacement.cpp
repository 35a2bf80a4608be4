#include "app/ScreenPlacement.h"

#include <algorithm>

void bringOntoScreen(std::int32_t& left, std::int32_t& top, std::int32_t widthPx,
                     std::int32_t heightPx, std::span<const PixelRect> screens) {
    if (screens.empty()) {
        return;
    }
    // In 64 bits: a saved position near the 32-bit limits plus the window size
    // must not wrap around onto a screen.
    const std::int64_t right = static_cast<std::int64_t>(left) + widthPx;
    const std::int64_t bottom = static_cast<std::int64_t>(top) + heightPx;
    for (const PixelRect& screen : screens) {
        if (std::max<std::int64_t>(left, screen.left) < std::min<std::int64_t>(right, screen.right) &&
            std::max<std::int64_t>(top, screen.top) < std::min<std::int64_t>(bottom, screen.bottom)) {
            return;
        }
    }
    left = screens.front().left;
    top = screens.front().top;
}
