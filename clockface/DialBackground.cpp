#include "clockface/DialBackground.h"

#include "clockface/DialGeometry.h"
#include "clockface/DialMarks.h"
#include "image/DrawImage.h"
#include "image/Image.h"
#include "raster/Canvas.h"

void DialBackground::restore(Canvas& clockCanvas, std::int32_t unit, const Image* picture,
                             std::uint64_t pictureGeneration, TextRenderer& textRenderer) {
    if (!clockCanvas.hasPixels()) {
        return;
    }
    for (std::int32_t i = 0; i < 2; ++i) {
        // A canvas created anew since the layer was drawn refuses its copy.
        if (matches(layers[i], clockCanvas, unit, picture, pictureGeneration) &&
            clockCanvas.restoreStore(layers[i].pixels) == 1) {
            lastRestored = i;
            return;
        }
    }
    lastRestored = nextLayer;
    Layer& layer = layers[nextLayer];
    nextLayer = (nextLayer + 1) % 2;
    draw(layer, clockCanvas, unit, picture, textRenderer);
    layer.pictureGeneration = pictureGeneration;
}

std::int32_t DialBackground::restoreArea(Canvas& clockCanvas, const StoreRect& area) const {
    if (lastRestored < 0 || !layers[lastRestored].valid) {
        return 0;
    }
    return clockCanvas.restoreStore(layers[lastRestored].pixels, area);
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

void DialBackground::draw(Layer& layer, Canvas& canvas, std::int32_t unit, const Image* picture,
                          TextRenderer& textRenderer) {
    const DialGeometry dial = DialGeometry::forUnit(unit);
    canvas.clear();
    if (picture != nullptr) {
        // The globe picture fills the dial: 14U × 14U drawing pixels, 1:1.
        const std::int32_t sizePx = 2 * 7 * unit;
        drawImage(canvas, dial.centerX, dial.centerY, sizePx, sizePx, *picture);
    }
    drawMarksAndNumerals(canvas, dial, textRenderer);

    layer.valid = true;
    layer.unit = unit;
    layer.canvasWidth = canvas.width;
    layer.canvasHeight = canvas.height;
    layer.canvasScale = canvas.scale;
    layer.picture = picture;
    layer.pixels = canvas.copyStore();
}
