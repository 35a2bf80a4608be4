#pragma once

#include "raster/PaintTarget.h"

// A paint target that puts every picture at an offset into another: a picture
// painted at (x, y) lands at (x + offset.x, y + offset.y) of the target.
class OffsetPaintTarget final : public PaintTarget {
public:
    OffsetPaintTarget(PaintTarget& inner, PixelPoint offset) : target(inner), by(offset) {}

    // An area of the target in the pictures' own coordinates.
    PixelRect toPicture(const PixelRect& area) const {
        return {area.left - by.x, area.top - by.y, area.right - by.x, area.bottom - by.y};
    }

    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t* rows, const PixelRect& area) override {
        target.paintBottomUpBgr(x + by.x, y + by.y, width, height, rows,
                                {area.left + by.x, area.top + by.y, area.right + by.x, area.bottom + by.y});
    }

private:
    PaintTarget& target;
    PixelPoint by;
};
