#include "clockface/DialBackground.h"

#include "clockface/DialGeometry.h"
#include "clockface/DialMarks.h"
#include "image/DrawImage.h"
#include "image/Image.h"
#include "raster/Canvas.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {
bool isPixelPicture(const Image& picture) {
    return picture.valid != 0 && picture.kind == ImagePixels && picture.pixelStore != nullptr;
}

std::size_t pictureByteCount(const Image& picture) {
    return static_cast<std::size_t>(picture.stride) * static_cast<std::size_t>(picture.height);
}

std::size_t storeByteCount(const Canvas& canvas) {
    return static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height) *
           static_cast<std::size_t>(canvas.bytesPerPixel);
}
}  // namespace

void DialBackground::restore(Canvas& clockCanvas, std::int32_t unit, const Image* picture,
                             TextRenderer& textRenderer) {
    if (!clockCanvas.hasPixels()) {
        return;
    }
    // Only pictures held in memory can be compared; anything else is drawn afresh.
    if (picture != nullptr && !isPixelPicture(*picture)) {
        Layer scratch;
        draw(scratch, clockCanvas, unit, picture, textRenderer);
        return;
    }
    for (Layer& layer : layers) {
        if (matches(layer, clockCanvas, unit, picture)) {
            std::lock_guard guard(clockCanvas.pixelLock);
            std::memcpy(clockCanvas.pixels.get(), layer.pixels.data(), layer.pixels.size());
            return;
        }
    }
    Layer& layer = layers[nextLayer];
    nextLayer = (nextLayer + 1) % 2;
    draw(layer, clockCanvas, unit, picture, textRenderer);
}

void DialBackground::clear() {
    for (Layer& layer : layers) {
        layer = Layer{};
    }
}

bool DialBackground::matches(const Layer& layer, const Canvas& canvas, std::int32_t unit,
                             const Image* picture) {
    if (!layer.valid || layer.unit != unit || layer.canvasWidth != canvas.width ||
        layer.canvasHeight != canvas.height || layer.canvasScale != canvas.scale ||
        layer.pixels.size() != storeByteCount(canvas) || layer.hasPicture != (picture != nullptr)) {
        return false;
    }
    if (picture == nullptr) {
        return true;
    }
    return layer.pictureWidth == picture->width && layer.pictureHeight == picture->height &&
           layer.pictureStride == picture->stride && layer.pictureChannels == picture->channels &&
           layer.pictureBytes.size() == pictureByteCount(*picture) &&
           std::equal(layer.pictureBytes.begin(), layer.pictureBytes.end(), picture->pixelStore.get());
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
    layer.hasPicture = picture != nullptr;
    layer.pictureBytes.clear();
    if (picture != nullptr) {
        layer.pictureWidth = picture->width;
        layer.pictureHeight = picture->height;
        layer.pictureStride = picture->stride;
        layer.pictureChannels = picture->channels;
        if (isPixelPicture(*picture)) {
            layer.pictureBytes.assign(picture->pixelStore.get(),
                                      picture->pixelStore.get() + pictureByteCount(*picture));
        }
    }
    std::lock_guard guard(canvas.pixelLock);
    layer.pixels.assign(canvas.pixels.get(), canvas.pixels.get() + storeByteCount(canvas));
}
