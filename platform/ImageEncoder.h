#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

// Writes a picture as an 8-bit RGB PNG file: height rows of width pixels, each
// three bytes blue, green, red, top row first, row i at rows + i × strideBytes.
// 1 when the whole file was written, 0 otherwise (bad size, stride too small,
// file not writable, encoder failure); a failed write leaves no partial file
// behind where it can help it.
[[nodiscard]] std::int32_t writePngBgr(const std::filesystem::path& path, std::int32_t width,
                                       std::int32_t height, std::int32_t strideBytes,
                                       const std::uint8_t* rows);

// The same for pictures with straight (not premultiplied) alpha: an 8-bit RGBA
// PNG file from rows of four bytes a pixel, blue, green, red, alpha (255 opaque).
[[nodiscard]] std::int32_t writePngBgra(const std::filesystem::path& path, std::int32_t width,
                                        std::int32_t height, std::int32_t strideBytes,
                                        const std::uint8_t* rows);

}  // namespace platform
