#include "raster/Canvas.h"

#include "platform/ProcessResources.h"
#include "platform/StoreSize.h"
#include "raster/PaintTarget.h"
#include "raster/DisplayConversion.h"
#include "raster/Truncate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <utility>

namespace {

constexpr float farthestDepthFloat = 1.0e30f;

std::int16_t bytesPerPixelOf(std::int32_t pixelFormat) {
    switch (pixelFormat) {
        case PixelFormatRgbBytes: return 3;
        case PixelFormatRgbFloats: return 12;
        default: return 0;
    }
}

std::int16_t bytesPerDepthOf(std::int32_t depthFormat) {
    switch (depthFormat) {
        case DepthFormatByte: return 1;
        case DepthFormatFloat: return 4;
        case DepthFormatDouble: return 8;
        default: return 0;
    }
}

template <typename T>
T load(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void store(std::uint8_t* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

// Fills count elements of type T with one value by doubling the filled part, so
// the work is a handful of memcpy calls instead of one store per element.
template <typename T>
void fillElements(std::uint8_t* start, std::size_t count, T value) {
    if (count == 0) {
        return;
    }
    store(start, value);
    const std::size_t totalBytes = count * sizeof(T);
    std::size_t filledBytes = sizeof(T);
    while (filledBytes < totalBytes) {
        const std::size_t chunk = std::min(filledBytes, totalBytes - filledBytes);
        std::memcpy(start + filledBytes, start, chunk);
        filledBytes += chunk;
    }
}

// A byte depth plane holds 0 (nearest) to 255 (farthest). Depths beyond that range
// are clamped instead of wrapped, so a far depth never lands near; a NaN counts
// as the farthest depth.
std::uint8_t byteDepthOf(double depthValue) {
    if (!(depthValue < 255.0)) {
        return 255;
    }
    if (depthValue < 0.0) {
        return 0;
    }
    return static_cast<std::uint8_t>(depthValue);
}

std::size_t storeBytes(const Canvas& canvas) {
    return static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height) *
           static_cast<std::size_t>(canvas.bytesPerPixel);
}

// Buffers from this size on are asked to be backed by large pages: the canvases
// of a large unit, whose thousands of first-touch page faults would otherwise
// cost more than drawing on them.
constexpr std::size_t largeBufferBytes = std::size_t{2} << 20;

std::unique_ptr<std::uint8_t[]> allocate(std::size_t bytes) {
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[bytes]);
    if (buffer && bytes >= largeBufferBytes) {
        platform::preferLargePages(buffer.get(), bytes);
    }
    return buffer;
}

}  // namespace

Canvas::~Canvas() { release(); }

std::int32_t Canvas::create(std::int32_t logicalWidth, std::int32_t logicalHeight,
                            std::int16_t scaleFactor) {
    std::unique_lock displayGuard(displayLock);
    std::lock_guard pixelGuard(pixelLock);
    release();
    displayGuard.unlock();

    bytesPerPixel = bytesPerPixelOf(pixelFormat);
    bytesPerDepth = bytesPerDepthOf(depthFormat);

    // Three-byte rows are widened to a multiple of four bytes so that display rows,
    // which have the same length, need no padding.
    std::int64_t columns = logicalWidth;
    if (bytesPerPixel < 4) {
        while ((bytesPerPixel * columns) % 4 != 0) {
            ++columns;
        }
    }
    // A negative factor is refused below and leaves the current one in place.
    if (scaleFactor > 0) {
        scale = scaleFactor;
    }
    const std::int64_t storeWidth = scale * columns;
    const std::int64_t storeHeight = std::int64_t{scale} * logicalHeight;
    constexpr std::int64_t largestSide = std::numeric_limits<std::int32_t>::max();
    width = static_cast<std::int32_t>(std::clamp(storeWidth, -largestSide, largestSide));
    height = static_cast<std::int32_t>(std::clamp(storeHeight, -largestSide, largestSide));

    if (scaleFactor < 0 || storeWidth < 0 || storeHeight < 0 || !std::in_range<std::int32_t>(storeWidth) ||
        !std::in_range<std::int32_t>(storeHeight)) {
        return 0;
    }
    // Each store's bytes must fit a signed 32-bit count.
    const std::int64_t count = storeWidth * storeHeight;
    if (!storeBytes(bytesPerPixel, storeWidth, storeHeight) || !storeBytes(bytesPerDepth, storeWidth, storeHeight)) {
        return 0;
    }
    if (bytesPerPixel > 0) {
        pixels = allocate(static_cast<std::size_t>(bytesPerPixel * count));
    }
    if (bytesPerDepth > 0) {
        depth = allocate(static_cast<std::size_t>(bytesPerDepth * count));
    }
    if ((bytesPerPixel > 0 && !pixels) || (bytesPerDepth > 0 && !depth)) {
        pixels.reset();
        depth.reset();
        return 0;
    }
    clear();
    return 1;
}

void Canvas::clear() {
    std::lock_guard guard(pixelLock);
    if (pixels) {
        std::memset(pixels.get(), 0, storeBytes(*this));
    }
    clearDepth();
}

void Canvas::clearDepth() {
    std::lock_guard guard(pixelLock);
    if (!depth) {
        return;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    switch (depthFormat) {
        case DepthFormatByte: std::memset(depth.get(), 255, count); break;
        case DepthFormatFloat: fillElements(depth.get(), count, farthestDepthFloat); break;
        case DepthFormatDouble: fillElements(depth.get(), count, farthestDepth); break;
        default: break;
    }
}

void Canvas::release() {
    std::lock_guard displayGuard(displayLock);
    std::lock_guard pixelGuard(pixelLock);
    pixels.reset();
    depth.reset();
    display.reset();
}

std::int32_t Canvas::writePixel(std::int32_t x, std::int32_t y, const Color& color,
                                std::int16_t depthMode, double depthValue) {
    std::lock_guard guard(pixelLock);
    return writeHeldPixel(x, y, color, depthMode, depthValue);
}

std::int32_t Canvas::writeHeldPixel(std::int32_t x, std::int32_t y, const Color& color,
                                    std::int16_t depthMode, double depthValue) {
    const std::size_t index = static_cast<std::size_t>(width) * static_cast<std::size_t>(y) +
                              static_cast<std::size_t>(x);
    if (depth && depthMode != DepthOff) {
        const bool force = (static_cast<std::uint16_t>(depthMode) & 0x8000u) != 0;
        const bool keep = depthMode == DepthTestOnly;
        switch (depthFormat) {
            case DepthFormatDouble: {
                std::uint8_t* at = depth.get() + index * 8;
                // Written as a negation so that a NaN on either side fails.
                if (!force && !(load<double>(at) > depthValue)) {
                    return -1;
                }
                if (!keep) {
                    store(at, depthValue);
                }
                break;
            }
            case DepthFormatFloat: {
                std::uint8_t* at = depth.get() + index * 4;
                if (!force && !(static_cast<double>(load<float>(at)) > depthValue)) {
                    return -1;
                }
                if (!keep) {
                    store(at, static_cast<float>(depthValue));
                }
                break;
            }
            case DepthFormatByte: {
                std::uint8_t* at = depth.get() + index;
                const std::uint8_t near = byteDepthOf(depthValue);
                if (!force && !(near < *at)) {
                    return -1;
                }
                if (!keep) {
                    *at = near;
                }
                break;
            }
            default: return -1;
        }
    }
    if (pixels) {
        std::uint8_t* pixel = pixels.get() + index * static_cast<std::size_t>(bytesPerPixel);
        color.blendInto(pixel, pixelFormat);
        if (pixelFormat == PixelFormatRgbFloats && peakFrozen == 0) {
            for (int channel = 0; channel < 3; ++channel) {
                const double value = load<float>(pixel + 4 * channel);
                if (value > peak) {
                    peak = value;
                }
            }
        }
    }
    return 1;
}

std::int32_t Canvas::clipTest(std::int32_t x, std::int32_t y) const {
    if (clipEnabled == 0) {
        return 1;
    }
    // 64-bit offsets: a point far from the centre must not overflow.
    std::int64_t dx = std::int64_t{x} - clipCenterX;
    std::int64_t dy = std::int64_t{y} - clipCenterY;
    if (clipShape > ClipEllipse) {
        const double c = std::cos(clipAngle);
        const double s = std::sin(clipAngle);
        const double rotatedX = static_cast<double>(dx) * c + static_cast<double>(dy) * s;
        const double rotatedY = static_cast<double>(dy) * c - static_cast<double>(dx) * s;
        // A NaN angle leaves no finite frame: the point counts as outside.
        if (std::isnan(rotatedX) || std::isnan(rotatedY)) {
            return -1;
        }
        dx = static_cast<std::int64_t>(rotatedX);
        dy = static_cast<std::int64_t>(rotatedY);
    }
    switch (clipShape) {
        case ClipRectangle:
        case ClipRotatedRectangle: {
            const std::int64_t halfWidth = std::int64_t{clipHalfWidth} + 1;
            const std::int64_t halfHeight = std::int64_t{clipHalfHeight} + 1;
            if (dx < -halfWidth || dx > halfWidth || dy < -halfHeight || dy > halfHeight) {
                return -1;
            }
            return 1;
        }
        case ClipEllipse:
        case ClipRotatedEllipse: {
            const double u = static_cast<double>(dx) / clipHalfWidth;
            const double v = static_cast<double>(dy) / clipHalfHeight;
            return u * u + v * v > 1.0001 ? -1 : 1;
        }
        default: return 1;
    }
}

void Canvas::plot(std::int32_t x, std::int32_t y, const Color& color, std::int16_t depthMode,
                  double depthValue) {
    if (x < 0 || x >= width || y < 0 || y >= height) {
        return;
    }
    if (clipShape != ClipNone && clipEnabled != 0 && clipTest(x, y) <= 0) {
        return;
    }
    writePixel(x, y, color, depthMode, depthValue);
}

template <typename ColorAt>
void Canvas::plotRowOf(std::int32_t y, const std::int32_t* columns, std::size_t count, std::int16_t depthMode,
                       double depthValue, const ColorAt& colorAt) {
    if (y < 0 || y >= height) {
        return;
    }
    std::lock_guard guard(pixelLock);
    // Without a clip shape or a depth test, a byte store only needs each colour
    // mixed into its pixel: what writeHeldPixel would do, its tests taken once
    // for the row instead of once per pixel.
    const bool clipped = clipShape != ClipNone && clipEnabled != 0;
    const bool depthTested = depth && depthMode != DepthOff;
    if (!clipped && !depthTested && pixels && pixelFormat == PixelFormatRgbBytes) {
        std::uint8_t* rowStart = pixels.get() + static_cast<std::size_t>(width) * static_cast<std::size_t>(y) * 3;
        for (std::size_t i = 0; i < count; ++i) {
            const std::int32_t x = columns[i];
            if (x >= 0 && x < width) {
                colorAt(i).blendInto(rowStart + static_cast<std::size_t>(x) * 3, PixelFormatRgbBytes);
            }
        }
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t x = columns[i];
        if (x < 0 || x >= width) {
            continue;
        }
        if (clipped && clipTest(x, y) <= 0) {
            continue;
        }
        writeHeldPixel(x, y, colorAt(i), depthMode, depthValue);
    }
}

void Canvas::plotRow(std::int32_t y, const std::int32_t* columns, const Color* colors, std::size_t count,
                     std::int16_t depthMode, double depthValue) {
    plotRowOf(y, columns, count, depthMode, depthValue, [colors](std::size_t i) -> const Color& { return colors[i]; });
}

void Canvas::plotRowBytes(std::int32_t y, const std::int32_t* columns, const std::uint8_t* rgbt, std::size_t count,
                          std::int16_t depthMode, double depthValue) {
    plotRowOf(y, columns, count, depthMode, depthValue, [rgbt](std::size_t i) {
        const std::uint8_t* c = rgbt + 4 * i;
        return Color::bytes(c[0], c[1], c[2], c[3]);
    });
}

void Canvas::plotSpan(std::int32_t x0, std::int32_t x1, std::int32_t y, const Color& color,
                      std::int16_t depthMode, double depthValue) {
    if (y < 0 || y >= height) {
        return;
    }
    // Columns outside the canvas would be skipped one by one; skip them at once.
    const std::int64_t first = std::max<std::int64_t>(x0, 0);
    const std::int64_t last = std::min<std::int64_t>(x1, static_cast<std::int64_t>(width) - 1);
    std::lock_guard guard(pixelLock);
    for (std::int64_t x = first; x <= last; ++x) {
        const auto column = static_cast<std::int32_t>(x);
        if (clipShape != ClipNone && clipEnabled != 0 && clipTest(column, y) <= 0) {
            continue;
        }
        writeHeldPixel(column, y, color, depthMode, depthValue);
    }
}

void Canvas::present() {
    std::lock_guard displayGuard(displayLock);
    std::lock_guard pixelGuard(pixelLock);
    // A canvas without a pixel store has nothing to show, and its size may be a
    // rejected one: no display buffer is made for it.
    if (!pixels || (pixelFormat != PixelFormatRgbBytes && pixelFormat != PixelFormatRgbFloats)) {
        return;
    }
    if (!display) {
        display = allocate(static_cast<std::size_t>(displayWidth()) *
                           static_cast<std::size_t>(displayHeight()) * 4);
        if (!display) {
            return;
        }
    }
    if (pixelFormat == PixelFormatRgbBytes) {
        convertBytePixels(pixels.get(), width, height, scale, display.get());
    } else {
        convertFloatPixels(pixels.get(), width, height, scale, peak, display.get());
    }
}

StoreRect Canvas::present(const StoreRect& area) {
    if (pixelFormat != PixelFormatRgbBytes) {
        present();
        return {0, 0, width, height};
    }
    std::lock_guard displayGuard(displayLock);
    std::lock_guard pixelGuard(pixelLock);
    if (!pixels) {
        return {};
    }
    if (!display) {
        display = allocate(static_cast<std::size_t>(displayWidth()) *
                           static_cast<std::size_t>(displayHeight()) * 4);
        if (!display) {
            return {};
        }
        convertBytePixels(pixels.get(), width, height, scale, display.get());
        return {0, 0, width, height};
    }
    // Whole blocks within the store, and within the blocks the display has.
    const std::int32_t s = scale;
    const StoreRect blocks =
        StoreRect{std::max(area.left, 0), std::max(area.bottom, 0), std::min(area.right, width), std::min(area.top, height)}
            .wholeBlocks(s);
    const std::int32_t firstColumn = blocks.left / s;
    const std::int32_t firstRow = blocks.bottom / s;
    const std::int32_t endColumn = std::min(blocks.right / s, displayWidth());
    const std::int32_t endRow = std::min(blocks.top / s, displayHeight());
    if (endColumn <= firstColumn || endRow <= firstRow) {
        return {};
    }
    convertBytePixels(pixels.get(), width, s, display.get(),
                      {static_cast<std::size_t>(firstColumn), static_cast<std::size_t>(firstRow),
                       static_cast<std::size_t>(endColumn - firstColumn),
                       static_cast<std::size_t>(endRow - firstRow)});
    return {firstColumn * s, firstRow * s, endColumn * s, endRow * s};
}

void Canvas::blit(PaintTarget& target, std::int32_t y, const PixelRect& area) {
    std::lock_guard guard(displayLock);
    if (!display) {
        return;
    }
    target.paintBottomUpBgr(0, y, displayWidth(), displayHeight(), display.get(), area);
}

std::vector<std::uint8_t> Canvas::copyStore() const {
    std::vector<std::uint8_t> copy;
    copyStore(copy);
    return copy;
}

void Canvas::copyStore(std::vector<std::uint8_t>& copy) const {
    std::lock_guard guard(pixelLock);
    if (!pixels) {
        copy.clear();
        return;
    }
    const std::size_t bytes = storeBytes(*this);
    if (copy.capacity() < bytes && bytes >= largeBufferBytes) {
        // Memory of its own, advised before the copy first touches it.
        copy = {};
        copy.reserve(bytes);
        platform::preferLargePages(copy.data(), bytes);
    }
    copy.assign(pixels.get(), pixels.get() + bytes);
}

std::int32_t Canvas::restoreStore(const std::vector<std::uint8_t>& copy) {
    std::lock_guard guard(pixelLock);
    if (!pixels || copy.size() != storeBytes(*this)) {
        return 0;
    }
    std::copy(copy.begin(), copy.end(), pixels.get());
    return 1;
}

std::int32_t Canvas::restoreStore(const std::vector<std::uint8_t>& copy, const StoreRect& area) {
    std::lock_guard guard(pixelLock);
    if (!pixels || copy.size() != storeBytes(*this)) {
        return 0;
    }
    const std::int32_t left = std::max(area.left, 0);
    const std::int32_t right = std::min(area.right, width);
    if (left >= right) {
        return 1;
    }
    const auto rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
    const auto offset = static_cast<std::size_t>(left) * static_cast<std::size_t>(bytesPerPixel);
    const auto count = static_cast<std::size_t>(right - left) * static_cast<std::size_t>(bytesPerPixel);
    for (std::int32_t y = std::max(area.bottom, 0); y < std::min(area.top, height); ++y) {
        const std::size_t start = rowBytes * static_cast<std::size_t>(y) + offset;
        std::copy_n(copy.data() + start, count, pixels.get() + start);
    }
    return 1;
}

StoreRect StoreRect::unite(const StoreRect& other) const {
    if (empty()) {
        return other;
    }
    if (other.empty()) {
        return *this;
    }
    return {std::min(left, other.left), std::min(bottom, other.bottom), std::max(right, other.right),
            std::max(top, other.top)};
}

StoreRect StoreRect::wholeBlocks(std::int32_t scale) const {
    const auto down = [scale](std::int32_t v) { return v >= 0 ? v / scale * scale : -((-v + scale - 1) / scale) * scale; };
    const auto up = [&](std::int32_t v) { return down(v + scale - 1); };
    return {down(left), down(bottom), up(right), up(top)};
}

std::unique_ptr<Canvas> makeFlatCanvas(std::int32_t widthPx, std::int32_t heightPx, std::int16_t scale,
                                       PixelFormat pixelFormat) {
    auto canvas = std::make_unique<Canvas>();
    canvas->pixelFormat = pixelFormat;
    canvas->depthFormat = DepthFormatNone;
    if (canvas->create(widthPx, heightPx, scale) != 1 || !canvas->hasPixels()) {
        return nullptr;
    }
    return canvas;
}
