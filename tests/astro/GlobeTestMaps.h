#pragma once

#include "image/Image.h"
#include "image/ImageKind.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace globetest {

// A three-channel map whose every pixel has the colour paint(x, y), y counted
// upward, bytes blue, green, red.
inline std::unique_ptr<Image> makeMap(std::int32_t width, std::int32_t height,
                                      const std::function<void(std::int32_t, std::int32_t, std::uint8_t*)>& paint) {
    auto image = std::make_unique<Image>();
    image->kind = ImagePixels;
    image->width = width;
    image->height = height;
    image->channels = 3;
    image->stride = (3 * width + 3) & ~3;
    image->pixelStore = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(image->stride) * height);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = image->pixelStore.get() + static_cast<std::size_t>(height - 1 - y) * image->stride;
        for (std::int32_t x = 0; x < width; ++x) {
            paint(x, y, row + 3 * x);
        }
    }
    image->valid = 1;
    return image;
}

}  // namespace globetest
