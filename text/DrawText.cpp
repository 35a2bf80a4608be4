#include "text/DrawText.h"

#include "raster/Canvas.h"
#include "text/TextImage.h"
#include "text/TextRenderer.h"

#include <vector>

std::int32_t drawText(Canvas& canvas, std::int32_t x, std::int32_t y, std::u16string_view text,
                      TextRenderer& renderer, std::int32_t heightPx, const Color& color,
                      StoreRect* drawnArea) {
    if (drawnArea != nullptr) {
        *drawnArea = {};
    }
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
    if (drawnArea != nullptr) {
        *drawnArea = {x0, y0, x0 + s * widthPx, y0 + s * heightImagePx};
    }

    // On a byte canvas a pixel without coverage is fully transparent and leaves
    // the pixel exactly as it was, so only covered pixels are written; a float
    // canvas rounds even a transparent blend, so it gets every pixel.
    const bool skipUncovered = canvas.pixelFormat == PixelFormatRgbBytes;
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(widthPx);
    const auto rowLength = static_cast<std::size_t>(s) * static_cast<std::size_t>(widthPx);
    std::vector<std::int32_t> columns(rowLength);
    std::vector<Color> inks(rowLength);
    for (std::int32_t i = 0; i < s * heightImagePx; ++i) {
        const std::uint8_t* row = image->bits + rowBytes * static_cast<std::size_t>(i / s);
        std::size_t count = 0;
        for (std::int32_t j = 0; j < s * widthPx; ++j) {
            const std::uint8_t coverage = row[3 * static_cast<std::size_t>(j / s) + 1];
            if (coverage == 0 && skipUncovered) {
                continue;
            }
            columns[count] = x0 + j;
            inks[count].fromCoverage(&color, coverage);
            ++count;
        }
        canvas.plotRow(y0 + i, columns.data(), inks.data(), count, DepthOff, 0.0);
    }
    return widthPx;
}
