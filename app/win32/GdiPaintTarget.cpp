#include "app/win32/GdiPaintTarget.h"

namespace shell {

void GdiPaintTarget::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width,
                                      std::int32_t height, const std::uint8_t* rows, const PixelRect& area) {
    const PixelRect painted = area.intersect({x, y, x + width, y + height});
    if (rows == nullptr || painted.empty()) {
        return;
    }
    // A positive height describes a bottom-up picture; rows need no padding
    // because the width is a multiple of 4 pixels. Source and destination are the
    // same size, so nothing is scaled. The source rectangle of a bottom-up
    // picture counts its rows from the bottom.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const std::int32_t columns = painted.right - painted.left;
    const std::int32_t lines = painted.bottom - painted.top;
    StretchDIBits(dc, painted.left, painted.top, columns, lines, painted.left - x, flipEdge(painted.bottom - y, height),
                  columns, lines, rows, &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace shell
