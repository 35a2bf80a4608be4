#include "image/DrawImage.h"

#include "image/Image.h"
#include "raster/Canvas.h"

#include <algorithm>
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

// One sample for each block × block square of canvas pixels that a footprint
// touches, the squares lying on the canvas's grid of such squares, row by row.
struct BlockSamples {
    std::int64_t firstX = 0;  // the canvas column and row where the first square begins
    std::int64_t firstY = 0;
    std::size_t across = 0;  // squares in a row
    std::vector<Color> colors;
    std::vector<std::uint8_t> sampled;  // 1 where the image gave a sample
};

// Each sample, taken at its square's centre, stands for block × scale image
// pixels across: interpolated up to 1.1 of them, averaged beyond.
BlockSamples sampleBlocks(const Footprint& f, std::int32_t cx, std::int32_t cy, const Image& image,
                          std::int32_t block) {
    BlockSamples samples;
    samples.firstX = f.xFirst - f.xFirst % block;
    samples.firstY = f.yFirst - f.yFirst % block;
    samples.across = static_cast<std::size_t>((f.xLast - samples.firstX) / block + 1);
    const auto down = static_cast<std::size_t>((f.yLast - samples.firstY) / block + 1);
    samples.colors.resize(samples.across * down);
    samples.sampled.resize(samples.colors.size());
    const double sampleScale = f.scale * block;
    const bool interpolate = sampleScale <= 1.1;
    const double toCentre = (block - 1) / 2.0;  // from a square's first pixel to its centre, canvas pixels
    for (std::size_t j = 0; j < down; ++j) {
        const double squareY = static_cast<double>(samples.firstY + static_cast<std::int64_t>(j) * block - cy);
        const double py = (squareY + toCentre) * f.scale + f.halfIh;
        for (std::size_t i = 0; i < samples.across; ++i) {
            const double squareX = static_cast<double>(samples.firstX + static_cast<std::int64_t>(i) * block - cx);
            const double px = (squareX + toCentre) * f.scale + f.halfIw;
            const std::size_t at = j * samples.across + i;
            Color& color = samples.colors[at];
            const std::int32_t took = interpolate ? image.sampleBiquadratic(px, py, color)
                                                  : image.sampleBox(sampleScale, 0.0, 0.0, sampleScale, color, px, py);
            samples.sampled[at] = took == 1;
        }
    }
    return samples;
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

void drawImageRowsInBlocks(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
                           const Image& image, std::int32_t firstRow, std::int32_t lastRow, std::int32_t block) {
    const std::optional<Footprint> footprint = footprintOf(canvas, cx, cy, dw, dh, image, firstRow, lastRow);
    if (!footprint || block < 1 || footprint->xFirst > footprint->xLast || footprint->yFirst > footprint->yLast) {
        return;
    }
    const Footprint& f = *footprint;
    const BlockSamples samples = sampleBlocks(f, cx, cy, image, block);
    const auto span = static_cast<std::size_t>(f.xLast - f.xFirst + 1);
    std::vector<std::int32_t> columns(span);
    std::vector<Color> colors(span);
    for (std::int64_t y = f.yFirst; y <= f.yLast; ++y) {
        const auto row = static_cast<std::int32_t>(y);
        const std::size_t rowStart = static_cast<std::size_t>((y - samples.firstY) / block) * samples.across;
        std::size_t count = 0;
        for (std::size_t i = 0; i < samples.across; ++i) {
            if (samples.sampled[rowStart + i] == 0) {
                continue;
            }
            const std::int64_t blockX = samples.firstX + static_cast<std::int64_t>(i) * block;
            const std::int64_t last = std::min<std::int64_t>(blockX + block - 1, f.xLast);
            for (std::int64_t x = std::max(blockX, f.xFirst); x <= last; ++x) {
                const auto column = static_cast<std::int32_t>(x);
                if (f.clipping && canvas.clipTest(column, row) <= 0) {
                    continue;
                }
                columns[count] = column;
                colors[count] = samples.colors[rowStart + i];
                ++count;
            }
        }
        canvas.plotRow(row, columns.data(), colors.data(), count, DepthForce, Canvas::farthestDepth);
    }
}
