#include "platform/win32/window/GdiPaintTarget.h"

namespace platform {

void GdiPaintTarget::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width,
                                      std::int32_t height, const std::uint8_t* rows) {
    // A positive height describes a bottom-up picture; rows need no padding
    // because the width is a multiple of 4 pixels. Source and destination are the
    // same size, so nothing is scaled.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, x, y, width, height, 0, 0, width, height, rows, &info, DIB_RGB_COLORS,
                  SRCCOPY);
}

}  // namespace platform
