#pragma once

#include "raster/PaintTarget.h"

#include <cstdint>
#include <vector>

namespace shell {

// Paints canvas pictures into memory instead of a window: a client area of a
// fixed size, three bytes blue, green, red per pixel, top row first, black until
// painted. A picture reaching past the area is cut at its edges, as a window's
// client area cuts it.
class BufferPaintTarget final : public PaintTarget {
public:
    BufferPaintTarget(std::int32_t widthPx, std::int32_t heightPx);

    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t* rows, const PixelRect& area) override;

    std::int32_t width() const { return areaWidth; }
    std::int32_t height() const { return areaHeight; }
    std::int32_t stride() const { return 3 * areaWidth; }  // bytes per row
    const std::uint8_t* pixels() const { return store.data(); }

private:
    std::int32_t areaWidth;
    std::int32_t areaHeight;
    std::vector<std::uint8_t> store;
};

}  // namespace shell
