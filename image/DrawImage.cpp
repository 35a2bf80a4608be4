#include "image/DrawImage.h"

#include "image/Image.h"
#include "raster/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

namespace {

// Where a picture drawn into the box dw × dh centred on (cx, cy) lands on the
// canvas, within rows firstRow to lastRow.
struct Footprint {
    double scale = 0.0;       // source pixels per canvas pixel
    std::int32_t halfIw = 0;  // the image's centre, image pixels
    std::int32_t halfIh = 0;
    std::int64_t xFirst = 0;  // the canvas pixels to visit, those on the canvas
    std::int64_t xLast = 0;
    std::int64_t yFirst = 0;
    std::int64_t yLast = 0;
    bool clipping = false;  // a clip shape limits drawing
};

// None for a box without area, or an image without pixels, which draw
// nothing; this also keeps every division finite.
std::optional<Footprint> footprintOf(const Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw,
                                     std::int32_t dh, const Image& image, std::int32_t firstRow,
                                     std::int32_t lastRow) {
    const std::int32_t iw = image.width;
    const std::int32_t ih = image.height;
    if (dw <= 0 || dh <= 0 || image.valid == 0 || iw <= 0 || ih <= 0 || !canvas.hasPixels()) {
        return std::nullopt;
    }
    Footprint f;
    // Both axes take the larger scale so the whole image fits the box with its
    // aspect ratio kept.
    f.scale = std::max(static_cast<double>(iw) / dw, static_cast<double>(ih) / dh);
    const std::int32_t hw = static_cast<std::int32_t>(iw / f.scale * 0.5);
    const std::int32_t hh = static_cast<std::int32_t>(ih / f.scale * 0.5);
    f.halfIw = iw / 2;
    f.halfIh = ih / 2;
    // Pixels off the canvas are skipped, so the loops need only cover its part.
    f.xFirst = std::max<std::int64_t>(std::int64_t{cx} - hw, 0);
    f.xLast = std::min<std::int64_t>(std::int64_t{cx} + hw, canvas.width - 1);
    f.yFirst = std::max<std::int64_t>({std::int64_t{cy} - hh, 0, firstRow});
    f.yLast = std::min<std::int64_t>({std::int64_t{cy} + hh, canvas.height - 1, lastRow});
    f.clipping = canvas.clipShape != ClipNone && canvas.clipEnabled != 0;
    return f;
}

}  // namespace

void drawImage(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
               const Image& image) {
    drawImageRows(canvas, cx, cy, dw, dh, image, 0, canvas.height - 1);
}

void drawImageRows(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
                   const Image& image, std::int32_t firstRow, std::int32_t lastRow) {
    const std::optional<Footprint> footprint = footprintOf(canvas, cx, cy, dw, dh, image, firstRow, lastRow);
    if (!footprint) {
        return;
    }
    const auto [scale, halfIw, halfIh, xFirst, xLast, yFirst, yLast, clipping] = *footprint;
    // Up to 1.1 source pixels per canvas pixel interpolate; stronger reductions
    // average a box of one canvas pixel's footprint.
    const bool interpolate = scale <= 1.1;
    // Each row's samples are plotted together, the canvas's lock taken once.
    const auto span = static_cast<std::size_t>(std::max<std::int64_t>(xLast - xFirst + 1, 0));
    std::vector<std::int32_t> columns(span);
    std::vector<Color> colors(span);
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        const auto row = static_cast<std::int32_t>(y);
        // Continuous image coordinates; py grows upward like canvas y.
        const double py = static_cast<double>(y - cy) * scale + halfIh;
        std::size_t count = 0;
        for (std::int64_t x = xFirst; x <= xLast; ++x) {
            const auto column = static_cast<std::int32_t>(x);
            if (clipping && canvas.clipTest(column, row) <= 0) {
                continue;
            }
            const double px = static_cast<double>(x - cx) * scale + halfIw;
            Color& color = colors[count];
            const std::int32_t sampled = interpolate ? image.sampleBiquadratic(px, py, color)
                                                     : image.sampleBox(scale, 0.0, 0.0, scale, color, px, py);
            if (sampled == 1) {
                columns[count++] = column;
            }
        }
        canvas.plotRow(row, columns.data(), colors.data(), count, DepthForce, Canvas::farthestDepth);
    }
}

void drawImageRowsNearest(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
                          const Image& image, std::int32_t firstRow, std::int32_t lastRow) {
    const std::optional<Footprint> footprint = footprintOf(canvas, cx, cy, dw, dh, image, firstRow, lastRow);
    if (!footprint) {
        return;
    }
    const auto [scale, halfIw, halfIh, xFirst, xLast, yFirst, yLast, clipping] = *footprint;
    const std::int32_t iw = image.width;
    const std::int32_t ih = image.height;
    // The image column of every canvas column, the same for each row; columns
    // that fall outside the image are left out.
    std::vector<std::int32_t> canvasColumns;
    std::vector<std::int32_t> imageColumns;
    for (std::int64_t x = xFirst; x <= xLast; ++x) {
        const double px = std::floor(static_cast<double>(x - cx) * scale + halfIw);
        if (px >= 0.0 && px < iw) {
            canvasColumns.push_back(static_cast<std::int32_t>(x));
            imageColumns.push_back(static_cast<std::int32_t>(px));
        }
    }
    std::vector<std::int32_t> columns(canvasColumns.size());
    std::vector<std::uint8_t> rgbt(4 * canvasColumns.size());
    // An enlarged picture gives several canvas rows the same image row: without
    // a clip shape they take the same pixels, read once.
    std::int32_t readRow = -1;
    std::size_t count = 0;
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        const auto row = static_cast<std::int32_t>(y);
        const double py = std::floor(static_cast<double>(y - cy) * scale + halfIh);
        if (py < 0.0 || py >= ih) {
            continue;
        }
        const auto imageRow = static_cast<std::int32_t>(py);
        if (imageRow == readRow && !clipping) {
            canvas.plotRowBytes(row, columns.data(), rgbt.data(), count, DepthForce, Canvas::farthestDepth);
            continue;
        }
        readRow = imageRow;
        count = 0;
        for (std::size_t i = 0; i < canvasColumns.size(); ++i) {
            if (clipping && canvas.clipTest(canvasColumns[i], row) <= 0) {
                continue;
            }
            Color color;
            static_cast<void>(image.getPixel(imageColumns[i], imageRow, color));
            columns[count] = canvasColumns[i];
            std::uint8_t* out = &rgbt[4 * count];
            out[0] = color.r;
            out[1] = color.g;
            out[2] = color.b;
            out[3] = color.t;
            ++count;
        }
        canvas.plotRowBytes(row, columns.data(), rgbt.data(), count, DepthForce, Canvas::farthestDepth);
    }
}
