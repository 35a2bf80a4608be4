#include "text/DrawText.h"

#include "raster/Canvas.h"
#include "text/TextImage.h"
#include "text/TextRenderer.h"

std::int32_t drawText(Canvas& canvas, std::int32_t x, std::int32_t y, std::u16string_view text,
                      TextRenderer& renderer, std::int32_t heightPx, const Color& color) {
    const std::unique_ptr<TextImage> image = renderer.render(text, heightPx);
    if (!image) {
        return 0;
    }
    const std::int32_t s = canvas.scale;
    const std::int32_t widthPx = image->width;
    const std::int32_t heightImagePx = image->height;
    // Centre on x and stand the bottom row at y less the raised part, then align
    // both down to a whole displayed pixel (C++'s remainder takes the sign of the
    // left edge, so a negative edge moves right).
    std::int32_t x0 = x - s * widthPx / 2;
    x0 -= x0 % s;
    std::int32_t y0 = y - s * image->topOffset;
    y0 -= y0 % s;

    const std::size_t rowBytes = 3 * static_cast<std::size_t>(widthPx);
    Color ink;
    for (std::int32_t i = 0; i < s * heightImagePx; ++i) {
        const std::uint8_t* row = image->bits + rowBytes * static_cast<std::size_t>(i / s);
        for (std::int32_t j = 0; j < s * widthPx; ++j) {
            const std::uint8_t coverage = row[3 * static_cast<std::size_t>(j / s) + 1];
            ink.fromCoverage(&color, coverage);
            canvas.plot(x0 + j, y0 + i, ink, DepthOff, 0.0);
        }
    }
    return widthPx;
}
