#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <filesystem>

namespace platform {

// Writes a picture as an 8-bit RGB PNG file: height rows of width pixels, each
// three bytes blue, green, red, top row first, row i at rows + i × strideBytes.
// Fails, saying why, for a bad size, a stride too small, an encoder failure or
// a file that cannot be written. The picture is encoded whole before the file
// is written as writeWholeFile writes it: a failure leaves what stood at path
// as it was.
Result<> writePngBgr(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                     std::int32_t strideBytes, const std::uint8_t* rows);

// The same for pictures with straight (not premultiplied) alpha: an 8-bit RGBA
// PNG file from rows of four bytes a pixel, blue, green, red, alpha (255 opaque).
Result<> writePngBgra(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                      std::int32_t strideBytes, const std::uint8_t* rows);

}  // namespace platform
