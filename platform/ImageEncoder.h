#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace platform {

// Writes a picture as an 8-bit RGB PNG file: height rows of width pixels, each
// three bytes blue, green, red, top row first, row i at rows + i × strideBytes.
// 1 when the whole file was written, 0 otherwise (bad size, stride too small,
// file not writable, encoder failure), with the reason in failure when given.
// The picture is encoded whole before the file is written as writeWholeFile
// writes it: a failure leaves what stood at path as it was.
[[nodiscard]] std::int32_t writePngBgr(const std::filesystem::path& path, std::int32_t width,
                                       std::int32_t height, std::int32_t strideBytes,
                                       const std::uint8_t* rows, std::string* failure = nullptr);

// The same for pictures with straight (not premultiplied) alpha: an 8-bit RGBA
// PNG file from rows of four bytes a pixel, blue, green, red, alpha (255 opaque).
[[nodiscard]] std::int32_t writePngBgra(const std::filesystem::path& path, std::int32_t width,
                                        std::int32_t height, std::int32_t strideBytes,
                                        const std::uint8_t* rows, std::string* failure = nullptr);

}  // namespace platform
