#include "clockface/DialBackground.h"

#include "clockface/DialGeometry.h"
#include "clockface/DialMarks.h"
#include "image/DrawImage.h"
#include "image/Image.h"
#include "raster/Canvas.h"

void DialBackground::restore(Canvas& clockCanvas, std::int32_t unit, Globe globe, const Image* picture,
                             std::uint64_t pictureGeneration, TextRenderer& textRenderer) {
    if (!clockCanvas.hasPixels()) {
        return;
    }
    const auto index = static_cast<std::int32_t>(globe);
    Layer& layer = layers[index];
    lastRestored = index;
    // A canvas created anew since the layer was drawn refuses its copy.
    if (matches(layer, clockCanvas, unit, picture, pictureGeneration) && clockCanvas.restoreStore(layer.pixels) == 1) {
        return;
    }
    clockCanvas.clear();
    if (picture != nullptr && picture->height == DialGeometry::forUnit(unit).globeSizePx()) {
        finePixels += std::int64_t{clockCanvas.width} * clockCanvas.height;
    }
    drawPictureRows(clockCanvas, unit, picture, 0, clockCanvas.height - 1);
    drawMarks(clockCanvas, unit, textRenderer);
    keep(layer, clockCanvas, unit, picture, pictureGeneration);
}

std::int32_t DialBackground::restoreArea(Canvas& clockCanvas, const StoreRect& area) const {
    if (lastRestored < 0 || !layers[lastRestored].valid) {
        return 0;
    }
    return clockCanvas.restoreStore(layers[lastRestored].pixels, area);
}

bool DialBackground::holds(Globe globe, const Canvas& clockCanvas, std::int32_t unit, const Image* picture,
                           std::uint64_t pictureGeneration) const {
    return matches(layers[static_cast<std::int32_t>(globe)], clockCanvas, unit, picture, pictureGeneration);
}

void DialBackground::install(Globe globe, const Canvas& drawn, std::int32_t unit, const Image* picture,
                             std::uint64_t pictureGeneration) {
    const auto index = static_cast<std::int32_t>(globe);
    keep(layers[index], drawn, unit, picture, pictureGeneration);
    if (lastRestored == index) {
        lastRestored = -1;
    }
}

void DialBackground::drawPictureRows(Canvas& canvas, std::int32_t unit, const Image* picture,
                                     std::int32_t firstRow, std::int32_t lastRow) {
    if (picture == nullptr) {
        return;
    }
    const DialGeometry dial = DialGeometry::forUnit(unit);
    // The globe picture fills the dial, 1:1. A picture traced for another unit,
    // shown only until the one for this unit is traced, is scaled onto the dial
    // as smoothly, with one sample for each pixel the screen shows.
    const std::int32_t sizePx = dial.globeSizePx();
    if (picture->height == sizePx) {
        drawImageRows(canvas, dial.centerX, dial.centerY, sizePx, sizePx, *picture, firstRow, lastRow);
    } else {
        drawImageRowsInBlocks(canvas, dial.centerX, dial.centerY, sizePx, sizePx, *picture, firstRow, lastRow,
                              canvas.scale);
    }
}

void DialBackground::drawMarks(Canvas& canvas, std::int32_t unit, TextRenderer& textRenderer) {
    drawMarksAndNumerals(canvas, DialGeometry::forUnit(unit), textRenderer);
}

bool DialBackground::matches(const Layer& layer, const Canvas& canvas, std::int32_t unit,
                             const Image* picture, std::uint64_t pictureGeneration) {
    // A picture replaced within one generation is a new object while the old one
    // still lives, so the pointer tells them apart; across generations an address
    // may come back, and the generation tells them apart.
    return layer.valid && layer.unit == unit && layer.canvasWidth == canvas.width &&
           layer.canvasHeight == canvas.height && layer.canvasScale == canvas.scale &&
           layer.picture == picture && layer.pictureGeneration == pictureGeneration;
}

void DialBackground::keep(Layer& layer, const Canvas& canvas, std::int32_t unit, const Image* picture,
                          std::uint64_t pictureGeneration) {
    canvas.copyStore(layer.pixels);
    layer.valid = !layer.pixels.empty();
    layer.unit = unit;
    layer.canvasWidth = canvas.width;
    layer.canvasHeight = canvas.height;
    layer.canvasScale = canvas.scale;
    layer.picture = picture;
    layer.pictureGeneration = pictureGeneration;
}
