#include "image/Sampling.h"

#include "image/Image.h"

#include <cmath>
#include <cstdint>

namespace {

using sampling::bilinear;
using sampling::channelByte;
using sampling::gridPosition;

// True when (x, y) lies in [0, width) × [0, height); NaN lies nowhere.
inline bool insideImage(const Image& image, double x, double y) {
    return image.valid != 0 && x >= 0.0 && x < image.width && y >= 0.0 && y < image.height;
}

// The nine samples around the centre pixel, one channel.
struct Neighbourhood {
    std::int32_t p, e, w, n, s, ne, se, nw, sw;
};

// The tensor product of the quadratics through the offsets -1, 0, +1 in each
// direction, evaluated at (fx, fy) from the centre pixel.
inline double biquadratic(const Neighbourhood& q, double fx, double fy) {
    const double a = (q.e - q.w) / 2.0;
    const double b = (q.n - q.s) / 2.0;
    const double f = (q.e + q.w) / 2.0 - q.p;
    const double g = (q.n + q.s) / 2.0 - q.p;
    const double fx2 = fx * fx;
    const double fy2 = fy * fy;
    const double cross = 0.25 * (q.ne - q.se - q.nw + q.sw);
    const double fx2fy = 0.25 * (q.ne - q.se + q.nw - q.sw) - b;
    const double fxfy2 = 0.25 * (q.ne + q.se - q.nw - q.sw) - a;
    const double fx2fy2 = 0.25 * (q.ne + q.se + q.nw + q.sw) - q.p - f - g;
    return a * fx + b * fy + cross * fx * fy + f * fx2 + g * fy2 + fx2fy * fx2 * fy +
           fxfy2 * fx * fy2 + fx2fy2 * fx2 * fy2 + q.p;
}

// The biquadratic sample of channel at of a decoded store with storeBytes
// bytes per pixel, around the pixel at centre, whose rows above and below lie at
// above and below. Always inlined, so that the channels' long chains of sums
// overlap.
[[gnu::always_inline]] inline std::uint8_t storedChannel(const std::uint8_t* centre, const std::uint8_t* above,
                                                         const std::uint8_t* below, std::int32_t storeBytes,
                                                         std::int32_t at, double fx, double fy) {
    const Neighbourhood q{centre[at],
                          centre[storeBytes + at],
                          centre[at - storeBytes],
                          above[at],
                          below[at],
                          above[storeBytes + at],
                          below[storeBytes + at],
                          above[at - storeBytes],
                          below[at - storeBytes]};
    return channelByte(biquadratic(q, fx, fy));
}

}  // namespace

std::int32_t Image::sampleBilinear(double x, double y, Color& out) const {
    out = Color::bytes(0, 0, 0, 0);
    if (!insideImage(*this, x, y)) {
        return 0;
    }
    const auto [ix, iy, fx, fy] = gridPosition(x, y);
    // Decoded pixels with all four corners inside (nearly every sample of a
    // texture map) are read straight from the store.
    if (const std::int32_t storeBytes = sampling::directChannels(*this);
        storeBytes != 0 && ix + 1 < width && iy + 1 < height) {
        const std::uint8_t* low = rows() + static_cast<std::ptrdiff_t>(height - 1 - iy) * stride +
                                  static_cast<std::ptrdiff_t>(ix) * channels;
        const SampleBytes bytes = storeBytes == 1   ? sampling::blendStoredCorners<1>(low, stride, fx, fy)
                                  : storeBytes == 3 ? sampling::blendStoredCorners<3>(low, stride, fx, fy)
                                                    : sampling::blendStoredCorners<4>(low, stride, fx, fy);
        out.r = bytes.r;
        out.g = bytes.g;
        out.b = bytes.b;
        out.t = bytes.t;
        return 1;
    }
    Color a, b, c, d;
    getPixel(ix, iy, a);
    getPixel(ix + 1, iy, b);
    getPixel(ix + 1, iy + 1, c);
    getPixel(ix, iy + 1, d);
    out.r = channelByte(bilinear(a.r, b.r, c.r, d.r, fx, fy));
    out.g = channels > 1 ? channelByte(bilinear(a.g, b.g, c.g, d.g, fx, fy)) : out.r;
    out.b = channels > 2 ? channelByte(bilinear(a.b, b.b, c.b, d.b, fx, fy)) : out.r;
    out.t = channels > 3 ? channelByte(bilinear(a.t, b.t, c.t, d.t, fx, fy)) : a.t;
    return 1;
}

namespace {

// The biquadratic sample of decoded pixels whose whole neighbourhood of the
// pixel (ix, iy) is inside, read straight from the store: the bytes getPixel
// gives, without its checks. storeBytes is the bytes per stored pixel.
[[gnu::always_inline]] inline void biquadraticFromStore(const Image& image, std::int32_t storeBytes, std::int32_t ix,
                                                        std::int32_t iy, double fx, double fy, Color& out) {
    const std::uint8_t* centre = image.rows() + static_cast<std::ptrdiff_t>(image.height - 1 - iy) * image.stride +
                                 static_cast<std::ptrdiff_t>(ix) * storeBytes;
    // Rows are stored top row first: the row above lies one stride before.
    const std::uint8_t* above = centre - image.stride;
    const std::uint8_t* below = centre + image.stride;
    if (storeBytes == 1) {
        out.r = storedChannel(centre, above, below, storeBytes, 0, fx, fy);
        out.g = out.r;
        out.b = out.r;
        return;
    }
    out.r = storedChannel(centre, above, below, storeBytes, 2, fx, fy);
    out.g = storedChannel(centre, above, below, storeBytes, 1, fx, fy);
    out.b = storedChannel(centre, above, below, storeBytes, 0, fx, fy);
    if (storeBytes == 4) {
        // Stored as a straight alpha, carried as a transparency.
        const auto clear = [](std::uint8_t alpha) { return 255 - alpha; };
        const Neighbourhood q{clear(centre[3]), clear(centre[7]), clear(centre[-1]),
                              clear(above[3]),  clear(below[3]),  clear(above[7]),
                              clear(below[7]),  clear(above[-1]), clear(below[-1])};
        out.t = channelByte(biquadratic(q, fx, fy));
    }
}

// The biquadratic sample around the pixel (ix, iy) through getPixel, which
// clamps the neighbours at the edges and reads every kind of image.
void biquadraticByPixel(const Image& image, std::int32_t ix, std::int32_t iy, double fx, double fy, Color& out) {
    Color p, e, w, n, s, ne, se, nw, sw;
    image.getPixel(ix, iy, p);
    image.getPixel(ix + 1, iy, e);
    image.getPixel(ix - 1, iy, w);
    image.getPixel(ix, iy + 1, n);
    image.getPixel(ix, iy - 1, s);
    image.getPixel(ix + 1, iy + 1, ne);
    image.getPixel(ix + 1, iy - 1, se);
    image.getPixel(ix - 1, iy + 1, nw);
    image.getPixel(ix - 1, iy - 1, sw);
    const auto channel = [&](std::uint8_t Color::*c) {
        const Neighbourhood q{p.*c, e.*c, w.*c, n.*c, s.*c, ne.*c, se.*c, nw.*c, sw.*c};
        return channelByte(biquadratic(q, fx, fy));
    };
    out.r = channel(&Color::r);
    out.g = image.channels > 1 ? channel(&Color::g) : out.r;
    out.b = image.channels > 2 ? channel(&Color::b) : out.r;
    out.t = image.channels > 3 ? channel(&Color::t) : p.t;
}

}  // namespace

std::int32_t Image::sampleBiquadratic(double x, double y, Color& out) const {
    out = Color::bytes(0, 0, 0, 0);
    if (!insideImage(*this, x, y)) {
        return 0;
    }
    const auto [ix, iy, fx, fy] = gridPosition(x, y);
    if (const std::int32_t storeBytes = sampling::directChannels(*this);
        storeBytes != 0 && ix >= 1 && iy >= 1 && ix + 1 < width && iy + 1 < height) {
        biquadraticFromStore(*this, storeBytes, ix, iy, fx, fy, out);
    } else {
        biquadraticByPixel(*this, ix, iy, fx, fy, out);
    }
    return 1;
}

std::int32_t Image::sampleBox(double ux, double uy, double vx, double vy, Color& out, double x,
                              double y) const {
    out = Color::bytes(0, 0, 0, 0);
    if (!insideImage(*this, x, y)) {
        return 0;
    }
    const double lengthU = std::sqrt(ux * ux + uy * uy);
    const double lengthV = std::sqrt(vx * vx + vy * vy);
    // A length that does not fit a 32-bit count (or is NaN) takes no sample.
    if (!(lengthU < 2147483648.0) || !(lengthV < 2147483648.0)) {
        return 0;
    }
    std::int32_t nu = static_cast<std::int32_t>(lengthU);
    std::int32_t nv = static_cast<std::int32_t>(lengthV);
    if (nu == 0) {
        nu = 1;
    }
    if (nv == 0) {
        nv = 1;
    }
    const double stepU = 1.0 / nu;
    const double stepV = 1.0 / nv;
    std::int64_t sumR = 0, sumG = 0, sumB = 0, sumT = 0, count = 0;
    Color sample;
    for (std::int32_t j = 0; j < nv; ++j) {
        for (std::int32_t i = 0; i < nu; ++i) {
            const double sx = ux * i * stepU + x + vx * j * stepV;
            const double sy = uy * i * stepU + y + vy * j * stepV;
            // A point beyond the 32-bit range is outside the image anyway.
            if (!(sx > -2147483649.0 && sx < 2147483648.0 && sy > -2147483649.0 &&
                  sy < 2147483648.0)) {
                continue;
            }
            if (getPixel(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy), sample) !=
                1) {
                continue;
            }
            sumR += sample.r;
            sumG += sample.g;
            sumB += sample.b;
            sumT += sample.t;
            ++count;
        }
    }
    if (count == 0) {
        return 0;
    }
    out.r = static_cast<std::uint8_t>(sumR / count);
    out.g = static_cast<std::uint8_t>(sumG / count);
    out.b = static_cast<std::uint8_t>(sumB / count);
    out.t = static_cast<std::uint8_t>(sumT / count);
    return 1;
}

BilinearSampler::BilinearSampler(const Image& image) : source(image) {
    if (image.valid == 0) {
        return;  // a size of 0 puts every point outside
    }
    widthPx = image.width;
    heightPx = image.height;
    width = image.width;
    height = image.height;
    channels = sampling::directChannels(image);
    if (channels != 0) {
        stride = image.stride;
        bottomRow = image.rows() + static_cast<std::ptrdiff_t>(image.height - 1) * stride;
    }
}

SampleBytes BilinearSampler::sampleThroughImage(double x, double y) const {
    Color out;
    source.sampleBilinear(x, y, out);
    SampleBytes bytes;
    bytes.r = out.r;
    bytes.g = out.g;
    bytes.b = out.b;
    bytes.t = out.t;
    return bytes;
}
