#include "app/SurfaceScale.h"

#include "app/Layout.h"

#include <algorithm>

namespace {

std::int32_t validScale(std::int32_t scale120) {
    return scale120 < scaleDenominator / 2 ? scaleDenominator : scale120;
}

// value × numerator / denominator, to the nearest integer (halves up), for
// non-negative values.
std::int32_t scaled(std::int32_t value, std::int32_t numerator, std::int32_t denominator) {
    const std::int64_t product = static_cast<std::int64_t>(std::max(value, 0)) * numerator;
    return static_cast<std::int32_t>((2 * product + denominator) / (2 * static_cast<std::int64_t>(denominator)));
}

}  // namespace

std::int32_t dpiForScale(std::int32_t scale120) {
    return scaled(baseDpi, validScale(scale120), scaleDenominator);
}

PixelSize logicalSize(PixelSize bufferPx, std::int32_t scale120) {
    const std::int32_t scale = validScale(scale120);
    return {std::max(scaled(bufferPx.width, scaleDenominator, scale), 1),
            std::max(scaled(bufferPx.height, scaleDenominator, scale), 1)};
}

PixelSize bufferSize(PixelSize logical, std::int32_t scale120) {
    const std::int32_t scale = validScale(scale120);
    return {scaled(logical.width, scale, scaleDenominator), scaled(logical.height, scale, scaleDenominator)};
}

SurfaceScaling surfaceScaling(PixelSize bufferPx, std::int32_t scale120, bool viewportOffered) {
    const std::int32_t scale = validScale(scale120);
    const std::int32_t whole = scale / scaleDenominator;
    if (scale % scaleDenominator == 0 && bufferPx.width % whole == 0 && bufferPx.height % whole == 0) {
        return {whole, false, {std::max(bufferPx.width / whole, 1), std::max(bufferPx.height / whole, 1)}};
    }
    if (viewportOffered) {
        return {1, true, logicalSize(bufferPx, scale)};
    }
    return {1, false, {std::max(bufferPx.width, 1), std::max(bufferPx.height, 1)}};
}
