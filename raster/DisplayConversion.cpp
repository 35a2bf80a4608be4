#include "raster/DisplayConversion.h"

#include <cstddef>
#include <cstring>

namespace {

// One to one: only the channel order changes.
void swapChannels(const std::uint8_t* store, std::size_t storeWidth, const DisplayBlocks& blocks,
                  std::uint8_t* display) {
    for (std::size_t r = blocks.firstRow; r < blocks.firstRow + blocks.rows; ++r) {
        const std::uint8_t* in = store + 3 * (r * storeWidth + blocks.firstColumn);
        std::uint8_t* out = display + 3 * (r * storeWidth + blocks.firstColumn);
        for (std::size_t i = 0; i < blocks.columns; ++i) {
            out[3 * i] = in[3 * i + 2];
            out[3 * i + 1] = in[3 * i + 1];
            out[3 * i + 2] = in[3 * i];
        }
    }
}

// The clock canvas's case: each display pixel is the mean of two pixels of two
// store rows.
void averageTwoByTwo(const std::uint8_t* store, std::size_t storeWidth, const DisplayBlocks& blocks,
                     std::uint8_t* display) {
    const std::size_t storeRowBytes = 3 * storeWidth;
    const std::size_t displayWidth = storeWidth / 2;
    for (std::size_t r = blocks.firstRow; r < blocks.firstRow + blocks.rows; ++r) {
        const std::uint8_t* lower = store + 2 * r * storeRowBytes + 6 * blocks.firstColumn;
        const std::uint8_t* upper = lower + storeRowBytes;
        std::uint8_t* out = display + 3 * (displayWidth * r + blocks.firstColumn);
        for (std::size_t c = 0; c < blocks.columns; ++c) {
            const std::uint8_t* p = lower + 6 * c;
            const std::uint8_t* q = upper + 6 * c;
            const unsigned red = 0u + p[0] + p[3] + q[0] + q[3];
            const unsigned green = 0u + p[1] + p[4] + q[1] + q[4];
            const unsigned blue = 0u + p[2] + p[5] + q[2] + q[5];
            out[3 * c] = static_cast<std::uint8_t>(blue / 4);
            out[3 * c + 1] = static_cast<std::uint8_t>(green / 4);
            out[3 * c + 2] = static_cast<std::uint8_t>(red / 4);
        }
    }
}

// Any block size. 64-bit sums stay exact for every scale a canvas can hold.
void averageBlocks(const std::uint8_t* store, std::size_t storeWidth, std::size_t scale,
                   const DisplayBlocks& blocks, std::uint8_t* display) {
    const std::uint64_t blockPixels = scale * scale;
    const std::size_t displayWidth = storeWidth / scale;
    for (std::size_t r = blocks.firstRow; r < blocks.firstRow + blocks.rows; ++r) {
        for (std::size_t c = blocks.firstColumn; c < blocks.firstColumn + blocks.columns; ++c) {
            std::uint64_t red = 0;
            std::uint64_t green = 0;
            std::uint64_t blue = 0;
            for (std::size_t y = r * scale; y < (r + 1) * scale; ++y) {
                const std::uint8_t* p = store + 3 * (y * storeWidth + c * scale);
                for (std::size_t x = 0; x < scale; ++x, p += 3) {
                    red += p[0];
                    green += p[1];
                    blue += p[2];
                }
            }
            std::uint8_t* out = display + 3 * (r * displayWidth + c);
            out[0] = static_cast<std::uint8_t>(blue / blockPixels);
            out[1] = static_cast<std::uint8_t>(green / blockPixels);
            out[2] = static_cast<std::uint8_t>(red / blockPixels);
        }
    }
}

float loadFloat(const std::uint8_t* at) {
    float value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A scaled channel value as a display byte. Values above the peak (possible once
// the peak is frozen) saturate at 255 rather than wrapping; NaN shows as 0.
std::uint8_t displayByte(double scaled) {
    if (!(scaled > 0.0)) {
        return 0;
    }
    if (scaled >= 255.0) {
        return 255;
    }
    return static_cast<std::uint8_t>(scaled);
}

}  // namespace

void convertBytePixels(const std::uint8_t* store, std::int32_t storeWidth,
                       std::int32_t storeHeight, std::int32_t scale, std::uint8_t* display) {
    const std::size_t s = static_cast<std::size_t>(scale);
    convertBytePixels(store, storeWidth, scale, display,
                      {0, 0, static_cast<std::size_t>(storeWidth) / s, static_cast<std::size_t>(storeHeight) / s});
}

void convertBytePixels(const std::uint8_t* store, std::int32_t storeWidth, std::int32_t scale,
                       std::uint8_t* display, const DisplayBlocks& blocks) {
    const std::size_t s = static_cast<std::size_t>(scale);
    const std::size_t sw = static_cast<std::size_t>(storeWidth);
    if (s == 1) {
        swapChannels(store, sw, blocks, display);
    } else if (s == 2) {
        averageTwoByTwo(store, sw, blocks, display);
    } else {
        averageBlocks(store, sw, s, blocks, display);
    }
}

void convertFloatPixels(const std::uint8_t* store, std::int32_t storeWidth,
                        std::int32_t storeHeight, std::int32_t scale, double peak,
                        std::uint8_t* display) {
    const std::size_t s = static_cast<std::size_t>(scale);
    const std::size_t columns = static_cast<std::size_t>(storeWidth) / s;
    const std::size_t rows = static_cast<std::size_t>(storeHeight) / s;
    const std::size_t sw = static_cast<std::size_t>(storeWidth);
    const double factor = 255.5 / (peak == 0.0 ? 1.0 : peak);
    const double blockPixels = static_cast<double>(s * s);
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            double sums[3] = {0.0, 0.0, 0.0};  // red, green, blue
            for (std::size_t y = r * s; y < (r + 1) * s; ++y) {
                const std::uint8_t* p = store + 12 * (y * sw + c * s);
                for (std::size_t x = 0; x < s; ++x, p += 12) {
                    for (std::size_t channel = 0; channel < 3; ++channel) {
                        sums[channel] += loadFloat(p + 4 * channel);
                    }
                }
            }
            std::uint8_t* out = display + 3 * (r * columns + c);
            for (std::size_t channel = 0; channel < 3; ++channel) {
                out[2 - channel] = displayByte(sums[channel] / blockPixels * factor);
            }
        }
    }
}
