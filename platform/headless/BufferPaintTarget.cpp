#include "platform/headless/BufferPaintTarget.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {

BufferPaintTarget::BufferPaintTarget(std::int32_t widthPx, std::int32_t heightPx)
    : areaWidth(std::max(widthPx, 0)),
      areaHeight(std::max(heightPx, 0)),
      store(static_cast<std::size_t>(areaWidth) * 3 * static_cast<std::size_t>(areaHeight)) {}

void BufferPaintTarget::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, const std::uint8_t* rows) {
    if (rows == nullptr || width <= 0 || height <= 0) {
        return;
    }
    // The columns of the picture that fall inside the area.
    const std::int32_t firstColumn = std::max(0, -x);
    const std::int32_t lastColumn = std::min(width, areaWidth - x);  // exclusive
    if (firstColumn >= lastColumn) {
        return;
    }
    const auto rowBytes = static_cast<std::size_t>(3 * (lastColumn - firstColumn));
    for (std::int32_t i = 0; i < height; ++i) {
        const std::int32_t targetRow = y + i;  // the picture's top row first
        if (targetRow < 0 || targetRow >= areaHeight) {
            continue;
        }
        const std::uint8_t* source =
            rows + static_cast<std::size_t>(3 * width) * static_cast<std::size_t>(height - 1 - i) +
            static_cast<std::size_t>(3 * firstColumn);
        std::uint8_t* target = store.data() + static_cast<std::size_t>(stride()) * targetRow +
                               static_cast<std::size_t>(3 * (x + firstColumn));
        std::memcpy(target, source, rowBytes);
    }
}

}  // namespace platform
