#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace platform {

// The platform's decoder for picture files (PNG and TIFF everywhere; on Windows
// whatever the imaging component decodes). It delivers one frame as rows of
// 8-bit grey (1 channel), blue-green-red (3) or blue-green-red-alpha with
// straight alpha, 255 opaque (4), top row first. The layout follows the source:
// 8- and 16-bit grey give grey, 8-bit sources with straight alpha give four
// channels, everything else (palette, other colour, premultiplied alpha, 16-bit
// colour with alpha) gives three. 16-bit samples keep their high byte.
class ImageDecoder {
public:
    ImageDecoder();
    ~ImageDecoder();
    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    // Opens the file, makes sure it holds exactly one frame, chooses the layout
    // and learns the size: 1 on success, 0 for a missing, locked, undecodable,
    // multi-frame (multi-page TIFF, animated PNG or GIF) or empty picture.
    [[nodiscard]] std::int32_t open(const std::filesystem::path& path);
    // After a successful open: the layout (1, 3 or 4 bytes per pixel) and the
    // size in pixels (both at least 1).
    std::int32_t channels() const { return channelCount; }
    std::int32_t width() const { return pixelWidth; }
    std::int32_t height() const { return pixelHeight; }
    // Writes every row, top row first, row i at buffer + i × strideBytes. 0 when
    // the rows don't fit the buffer or the pixels can't be decoded.
    [[nodiscard]] std::int32_t copyPixels(std::int32_t strideBytes, std::size_t bufferBytes,
                                          std::uint8_t* buffer);

    struct Native;

private:
    // True when a frame is open and rows of strideBytes, each holding a whole
    // row of pixels, fit a buffer of bufferBytes.
    bool rowsFit(std::int32_t strideBytes, std::size_t bufferBytes, const std::uint8_t* buffer) const {
        return native && buffer != nullptr &&
               std::int64_t{strideBytes} >= std::int64_t{channelCount} * pixelWidth &&
               static_cast<std::uint64_t>(strideBytes) * static_cast<std::uint64_t>(pixelHeight) <=
                   bufferBytes;
    }

    std::unique_ptr<Native> native;
    std::int32_t channelCount = 0;
    std::int32_t pixelWidth = 0;
    std::int32_t pixelHeight = 0;
};

}  // namespace platform
