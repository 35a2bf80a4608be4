#include "image/Image.h"

#include "image/RasterFile.h"
#include "platform/MappedFile.h"
#include "platform/StoreSize.h"
#include "raster/Canvas.h"
#include "raster/PixelGeometry.h"
#include "raster/Truncate.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <utility>

Image::Image() = default;

Image::~Image() { release(); }

void Image::release() {
    pixelStore.reset();
    mappedRows = nullptr;
    pixelFile.reset();
    if (rasterFile) {
        rasterFile->close();
        rasterFile.reset();
    }
    valid = 0;
}

void Image::releaseResidentPages() const {
    if (pixelFile) {
        pixelFile->releaseResidentPages();
    }
}

void Image::readRowsInPlace(std::unique_ptr<platform::MappedFile> file, std::size_t rowsOffset) {
    pixelStore.reset();
    pixelFile = std::move(file);
    mappedRows = pixelFile->data() + rowsOffset;
}

bool Image::sourceUnchanged() const {
    if (pixelFile) {
        return pixelFile->unchanged();
    }
    if (rasterFile && rasterFile->mapped.isOpen()) {
        return rasterFile->mapped.unchanged();
    }
    return true;
}

std::uint8_t fitsByte(double value) { return lowByteOfTruncated(value * 255.5); }

void Image::readFilePixel(std::int32_t x, std::int32_t y, Color& out) const {
    switch (kind) {
    case ImageFits: {
        const std::uint8_t grey = fitsByte(rasterFile->fitsValue(x, y));
        out.r = grey;
        out.g = grey;
        out.b = grey;
        break;
    }
    case ImagePdsImg:
        rasterFile->imgPixel(x, y, out);
        break;
    default:
        break;
    }
}

bool Image::makeStore(std::int32_t widthPx, std::int32_t heightPx, std::int32_t channelBytes) {
    const std::int64_t strideBytes = rowStride(channelBytes, widthPx);
    const std::optional<std::int32_t> bytes = storeBytes(strideBytes, heightPx);
    if (widthPx <= 0 || heightPx <= 0 || !bytes) {
        return false;
    }
    stride = static_cast<std::int32_t>(strideBytes);
    pixelStore.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(*bytes)]);
    return pixelStore != nullptr;
}

std::unique_ptr<Image> Image::fromCanvas(const Canvas& canvas, std::unique_ptr<Image> reuse) {
    if (!canvas.display || canvas.scale <= 0) {
        return nullptr;
    }
    const std::int32_t w = canvas.width / canvas.scale;
    const std::int32_t h = canvas.height / canvas.scale;
    // A canvas is limited to 2^31 - 1 bytes of store, so these fit in 64 bits.
    const std::int64_t rowBytes = 3 * static_cast<std::int64_t>(w);
    const std::int64_t strideBytes = rowStride(3, w);
    std::unique_ptr<Image> image;
    if (reuse && reuse->valid != 0 && reuse->kind == ImagePixels && reuse->channels == 3 && reuse->pixelStore &&
        reuse->width == w && reuse->height == h && reuse->stride == strideBytes) {
        image = std::move(reuse);
    } else {
        reuse.reset();
        image.reset(new (std::nothrow) Image);
        if (!image) {
            return nullptr;
        }
        image->release();
        image->kind = ImagePixels;
        image->width = w;
        image->height = h;
        image->channels = 3;
        // An empty picture has no pixel that getPixel could clamp to.
        if (!image->makeStore(w, h, 3)) {
            return image;
        }
        image->valid = 1;
    }
    // The display buffer is bottom row first; the store is top row first.
    const std::uint8_t* display = canvas.display.get();
    for (std::int32_t i = 0; i < h; ++i) {
        std::memcpy(image->pixelStore.get() + static_cast<std::ptrdiff_t>(i) * strideBytes,
                    display + static_cast<std::ptrdiff_t>(flipRow(i, h)) * rowBytes,
                    static_cast<std::size_t>(rowBytes));
    }
    return image;
}
