#pragma once

#include "raster/PaintTarget.h"

#include <windows.h>

namespace shell {

// Paints canvas pictures into a device context, such as the one BeginPaint hands
// out for a window's client area.
class GdiPaintTarget final : public PaintTarget {
public:
    explicit GdiPaintTarget(HDC deviceContext) : dc(deviceContext) {}
    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t* rows, const PixelRect& area) override;

private:
    HDC dc;
};

}  // namespace shell
