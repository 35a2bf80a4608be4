#pragma once

#include "image/Image.h"
#include "image/ImageKind.h"

#include <cstddef>
#include <cstdint>

// The four bytes of one interpolated read, as Image::sampleBilinear puts them
// into its Color: all zero outside the image.
struct SampleBytes {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t t = 0;  // transparency, 0 opaque
};

namespace sampling {

// An interpolated channel value clamped to 0…255.5 and truncated to a byte.
inline std::uint8_t channelByte(double value) {
    if (value < 0.0) {
        value = 0.0;
    } else if (value > 255.5) {
        value = 255.5;
    }
    return static_cast<std::uint8_t>(static_cast<std::int32_t>(value));
}

// Where (x, y) falls among the pixel centres: pixel (ix, iy) and the fractions
// beyond its centre. In the half-pixel strip along the left and bottom edges the
// integer part is 0 and the fraction negative (down to -0.5), so the value there
// is extrapolated from the first two pixels, then clamped.
struct GridPosition {
    std::int32_t ix = 0;
    std::int32_t iy = 0;
    double fx = 0.0;
    double fy = 0.0;
};

inline GridPosition gridPosition(double x, double y) {
    const double gx = x - 0.5;
    const double gy = y - 0.5;
    GridPosition grid;
    grid.ix = static_cast<std::int32_t>(gx);
    grid.iy = static_cast<std::int32_t>(gy);
    grid.fx = gx - grid.ix;
    grid.fy = gy - grid.iy;
    return grid;
}

// Bilinear blend of one channel over the corners a (ix, iy), b (ix + 1, iy),
// c (ix + 1, iy + 1) and d (ix, iy + 1).
inline double bilinear(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, double fx,
                       double fy) {
    const std::int32_t ba = b - a;
    const std::int32_t da = d - a;
    return (static_cast<double>((c - a) - ba - da) * fx + da) * fy + ba * fx + a;
}

// The number of bytes per pixel of a decoded store whose samples with all four
// corners inside can be read straight from the store: 1, 3 or 4, and 0 for any
// other image.
inline std::int32_t directChannels(const Image& image) {
    if (image.kind != ImagePixels) {
        return 0;
    }
    return image.channels == 1 || image.channels == 3 || image.channels == 4 ? image.channels : 0;
}

// The bilinear sample of a decoded store of `channels` bytes per pixel at the
// fractions (fx, fy) beyond corner low, pixel (ix, iy); corner row iy + 1 lies
// one stride before it, since rows are stored top row first. The same bytes
// getPixel would give the four corners, without its clamping and its checks per
// corner. The byte count is fixed at compile time so that each store's read is
// straight-line code, and the read is always inlined: the compiler would keep it
// out of line for its size and call it once per texel.
template <std::int32_t channels>
[[gnu::always_inline]] inline SampleBytes blendStoredCorners(const std::uint8_t* low, std::ptrdiff_t stride,
                                                           double fx, double fy) {
    static_assert(channels == 1 || channels == 3 || channels == 4);
    const std::uint8_t* high = low - stride;
    const std::uint8_t* lowNext = low + channels;
    const std::uint8_t* highNext = high + channels;
    SampleBytes out;
    if constexpr (channels == 1) {
        out.r = channelByte(bilinear(low[0], lowNext[0], highNext[0], high[0], fx, fy));
        out.g = out.r;
        out.b = out.r;
    } else {
        out.r = channelByte(bilinear(low[2], lowNext[2], highNext[2], high[2], fx, fy));
        out.g = channelByte(bilinear(low[1], lowNext[1], highNext[1], high[1], fx, fy));
        out.b = channelByte(bilinear(low[0], lowNext[0], highNext[0], high[0], fx, fy));
        if constexpr (channels == 4) {
            // Stored as a straight alpha, carried as a transparency.
            out.t = channelByte(
                bilinear(255 - low[3], 255 - lowNext[3], 255 - highNext[3], 255 - high[3], fx, fy));
        }
    }
    return out;
}

}  // namespace sampling

// Image::sampleBilinear for many reads of one image, as bytes: the image's kind,
// size and store are looked at once instead of at every read, and the read is
// inline. Samples near the top and right edges, and every sample of an image
// read in place, go through sampleBilinear itself. The image must outlive the
// sampler and stay unchanged while it is used.
class BilinearSampler {
public:
    explicit BilinearSampler(const Image& image);

    // The bytes per pixel of the store when it is read directly: 1, 3 or 4; 0
    // when every read goes through sampleBilinear.
    std::int32_t storeChannels() const { return channels; }

    // What sampleBilinear(x, y) gives, as bytes.
    SampleBytes sample(double x, double y) const {
        switch (channels) {
            case 1: return sampleStore<1>(x, y);
            case 3: return sampleStore<3>(x, y);
            case 4: return sampleStore<4>(x, y);
            default: return sampleThroughImage(x, y);
        }
    }

    // sample for a sampler whose storeChannels() is storeBytes, known to the
    // caller: a loop over many samples can choose its kind of store once.
    template <std::int32_t storeBytes>
    [[gnu::always_inline]] SampleBytes sampleStore(double x, double y) const {
        if constexpr (storeBytes == 0) {
            return sampleThroughImage(x, y);
        } else {
            // Written as a negation so that a NaN lies outside.
            if (!(x >= 0.0 && x < widthPx && y >= 0.0 && y < heightPx)) {
                return {};
            }
            const sampling::GridPosition grid = sampling::gridPosition(x, y);
            if (grid.ix + 1 < width && grid.iy + 1 < height) {
                const std::uint8_t* low = bottomRow - static_cast<std::ptrdiff_t>(grid.iy) * stride +
                                          static_cast<std::ptrdiff_t>(grid.ix) * storeBytes;
                return sampling::blendStoredCorners<storeBytes>(low, stride, grid.fx, grid.fy);
            }
            return sampleThroughImage(x, y);
        }
    }

    // Asks the processor to bring the stored bytes that sample(x, y) will read
    // into its cache, without waiting for them: a hint with no effect on any
    // result. Points the store does not answer directly are left alone. Always
    // inlined: the compiler takes a function that only gives hints for one
    // without effect, and drops the calls to it.
    [[gnu::always_inline]] void prefetch(double x, double y) const {
        if (!(x >= 0.0 && x < widthPx && y >= 0.0 && y < heightPx) || channels == 0) {
            return;
        }
        const sampling::GridPosition grid = sampling::gridPosition(x, y);
        const std::uint8_t* low = bottomRow - static_cast<std::ptrdiff_t>(grid.iy) * stride +
                                  static_cast<std::ptrdiff_t>(grid.ix) * channels;
        __builtin_prefetch(low);
        if (grid.iy + 1 < height) {
            __builtin_prefetch(low - stride);
        }
    }

private:
    SampleBytes sampleThroughImage(double x, double y) const;

    const Image& source;
    const std::uint8_t* bottomRow = nullptr;  // first byte of the stored bottom row (y = 0), direct reads only
    std::ptrdiff_t stride = 0;                // bytes per stored row
    double widthPx = 0.0;                     // the image's size, 0 for an image without pixels
    double heightPx = 0.0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t channels = 0;  // bytes per pixel of a store read directly, else 0
};
