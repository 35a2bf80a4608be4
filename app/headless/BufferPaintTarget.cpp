#include "app/headless/BufferPaintTarget.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace shell {

BufferPaintTarget::BufferPaintTarget(std::int32_t widthPx, std::int32_t heightPx)
    : areaWidth(std::max(widthPx, 0)),
      areaHeight(std::max(heightPx, 0)),
      store(static_cast<std::size_t>(areaWidth) * 3 * static_cast<std::size_t>(areaHeight)) {}

void BufferPaintTarget::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, const std::uint8_t* rows, const PixelRect& area) {
    if (rows == nullptr || width <= 0 || height <= 0) {
        return;
    }
    // What of the picture falls inside both the area and the buffer.
    const PixelRect painted = area.intersect({0, 0, areaWidth, areaHeight}).intersect({x, y, x + width, y + height});
    if (painted.empty()) {
        return;
    }
    const std::int32_t firstColumn = painted.left - x;
    const std::int32_t lastColumn = painted.right - x;  // exclusive
    const auto rowBytes = static_cast<std::size_t>(3 * (lastColumn - firstColumn));
    for (std::int32_t i = painted.top - y; i < painted.bottom - y; ++i) {
        const std::int32_t targetRow = y + i;  // the picture's top row first
        const std::uint8_t* source =
            rows + static_cast<std::size_t>(3 * width) * static_cast<std::size_t>(flipRow(i, height)) +
            static_cast<std::size_t>(3 * firstColumn);
        std::uint8_t* target = store.data() + static_cast<std::size_t>(stride()) * targetRow +
                               static_cast<std::size_t>(3 * (x + firstColumn));
        std::memcpy(target, source, rowBytes);
    }
}

}  // namespace shell
