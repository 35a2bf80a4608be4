#include "app/linux/XrgbRows.h"

namespace shell {

void convertToXrgb(const std::uint8_t* rows, const PixelRect& picture, const PixelRect& area, std::uint32_t* target,
                   std::size_t stridePx) {
    const auto pictureWidth = static_cast<std::size_t>(picture.right - picture.left);
    const std::int32_t pictureHeight = picture.bottom - picture.top;
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        // The picture's first row is its bottom row; the target's is its top row.
        const auto sourceRow = static_cast<std::size_t>(flipRow(row - picture.top, pictureHeight));
        const std::uint8_t* bgr =
            rows + 3 * (pictureWidth * sourceRow + static_cast<std::size_t>(area.left - picture.left));
        std::uint32_t* xrgb = target + stridePx * static_cast<std::size_t>(row) + static_cast<std::size_t>(area.left);
        for (std::int32_t column = area.left; column < area.right; ++column, bgr += 3, ++xrgb) {
            *xrgb = 0xff000000u | static_cast<std::uint32_t>(bgr[2]) << 16 | static_cast<std::uint32_t>(bgr[1]) << 8 |
                    bgr[0];
        }
    }
}

}  // namespace shell
