#include "app/Layout.h"

#include <algorithm>

std::int32_t unitFromClientHeight(std::int32_t clientHeightPx) {
    return std::max(clientHeightPx, 0) / gridRows;
}

std::int32_t unitAtDpi(std::int32_t unit, std::int32_t fromDpi, std::int32_t toDpi) {
    if (fromDpi < 1 || toDpi < 1 || fromDpi == toDpi) {
        return unit;
    }
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, std::int64_t{unit} * toDpi / fromDpi));
}

bool isUsableUnit(std::int32_t unit) {
    return unit >= 1;
}

void constrainSizing(std::int32_t edge, PixelRect& rect, std::int32_t frameWidthPx,
                     std::int32_t frameHeightPx) {
    // The proposed client size; a window dragged smaller than its frame has none.
    const std::int32_t clientWidthPx = std::max(rect.right - rect.left - frameWidthPx, 0);
    const std::int32_t clientHeightPx = std::max(rect.bottom - rect.top - frameHeightPx, 0);
    const std::int32_t widthFromHeight = gridColumns * (clientHeightPx / gridRows);
    switch (edge) {
    case SizingLeft:
    case SizingRight:
        rect.bottom = rect.top + frameHeightPx + gridRows * (clientWidthPx / gridColumns);
        break;
    case SizingTopLeft:
    case SizingBottomLeft:
        rect.left = rect.right - frameWidthPx - widthFromHeight;
        break;
    case SizingTop:
    case SizingTopRight:
    case SizingBottom:
    case SizingBottomRight:
        rect.right = rect.left + frameWidthPx + widthFromHeight;
        break;
    default:
        break;
    }
}

PixelSize snapClientSize(PixelSize previous, PixelSize proposed) {
    if (proposed == previous) {
        return proposed;
    }
    const PixelSize size{std::max(proposed.width, 0), std::max(proposed.height, 0)};
    if (size.height == previous.height) {
        return {size.width, gridRows * (size.width / gridColumns)};
    }
    return {gridColumns * (size.height / gridRows), size.height};
}

std::int32_t boundedUnit(std::int32_t unit) { return std::min(unit, largestWindowUnit); }
