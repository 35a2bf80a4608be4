#include "platform/ImageEncoder.h"

#include "platform/FileAccess.h"
#include "platform/common/PngEncoding.h"

namespace platform {

namespace {

// Writes rows of channels bytes a pixel (3: BGR, 4: BGRA) as a PNG file.
std::int32_t writePng(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                      std::int32_t strideBytes, const std::uint8_t* rows, std::int32_t channels,
                      std::string* failure) {
    std::string reason = "the picture cannot be encoded";
    std::string encoded;
    const bool written = rows != nullptr && width >= 1 && height >= 1 && strideBytes / channels >= width &&
                         encodePng(encoded, width, height, strideBytes, rows, channels) &&
                         writeWholeFile(path, encoded, reason);
    if (!written && failure != nullptr) {
        *failure = reason;
    }
    return written ? 1 : 0;
}

}  // namespace

std::int32_t writePngBgr(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                         std::int32_t strideBytes, const std::uint8_t* rows, std::string* failure) {
    return writePng(path, width, height, strideBytes, rows, 3, failure);
}

std::int32_t writePngBgra(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                          std::int32_t strideBytes, const std::uint8_t* rows, std::string* failure) {
    return writePng(path, width, height, strideBytes, rows, 4, failure);
}

}  // namespace platform
