// Whole files through Image::load and getPixel. The first input byte chooses the
// reader (even: PDS IMG, odd: FITS); the rest is the file. A mapped view is not
// watched by AddressSanitizer, so the target checks itself that an accepted
// image's data area lies inside the file, and reads pixels all over the image and
// beyond its edges.
#include "image/Image.h"
#include "image/RasterFile.h"
#include "platform/Messages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

std::filesystem::path scratchBase() {
    // One name per fuzzing process, so that parallel jobs do not share files.
    static const std::filesystem::path base =
        std::filesystem::temp_directory_path() / ("horavel-fuzz-" + std::to_string(std::random_device{}()));
    return base;
}

void readPixels(const Image& image, const std::uint8_t* data, std::size_t size) {
    Color out;
    const std::int32_t w = image.width;
    const std::int32_t h = image.height;
    for (auto [x, y] : {std::pair{0, 0}, std::pair{w - 1, h - 1}, std::pair{w, h}, std::pair{-1, -1},
                        std::pair{INT32_MAX, INT32_MIN}, std::pair{INT32_MIN, INT32_MAX}}) {
        image.getPixel(x, y, out);
    }
    // A coarse grid over the whole image, and a few points taken from the input.
    for (std::int32_t j = 0; j < 8; ++j) {
        for (std::int32_t i = 0; i < 8; ++i) {
            image.getPixel(static_cast<std::int32_t>(static_cast<std::int64_t>(w) * i / 8),
                           static_cast<std::int32_t>(static_cast<std::int64_t>(h) * j / 8), out);
        }
    }
    for (std::size_t k = 0; k + 8 <= size && k < 64; k += 8) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        for (int b = 0; b < 4; ++b) {
            x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x) << 8 | data[k + b]);
            y = static_cast<std::int32_t>(static_cast<std::uint32_t>(y) << 8 | data[k + 4 + b]);
        }
        image.getPixel(x, y, out);
    }
}

void checkDataArea(const RasterFile& raster) {
    const std::int64_t sampleBits = raster.sampleBits < 0 ? -raster.sampleBits : raster.sampleBits;
    const auto end = static_cast<std::uint64_t>(raster.dataOffset) +
                     static_cast<std::uint64_t>(raster.width) * static_cast<std::uint64_t>(raster.height) *
                         static_cast<std::uint64_t>(sampleBits / 8);
    if (raster.width < 1 || raster.height < 1 || raster.dataOffset < 0 || end > raster.mapped.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::setMessageSink(platform::nullMessageSink);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool fits = (data[0] & 1) != 0;
    std::filesystem::path path = scratchBase();
    path += fits ? ".fits" : ".img";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    Image image;
    if (image.load(path) == 1) {
        checkDataArea(*image.rasterFile);
        readPixels(image, data + 1, size - 1);
    }
    image.release();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return 0;
}
