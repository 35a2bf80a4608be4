#include "platform/ImageEncoder.h"

#include "platform/FileAccess.h"
#include "platform/common/PngEncoding.h"

namespace platform {

namespace {

// Writes rows of channels bytes a pixel (3: BGR, 4: BGRA) as a PNG file.
Result<> writePng(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                  std::int32_t strideBytes, const std::uint8_t* rows, std::int32_t channels) {
    std::string encoded;
    if (rows == nullptr || width < 1 || height < 1 || strideBytes / channels < width ||
        !encodePng(encoded, width, height, strideBytes, rows, channels)) {
        return failure("the picture cannot be encoded");
    }
    return writeWholeFile(path, encoded);
}

}  // namespace

Result<> writePngBgr(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                     std::int32_t strideBytes, const std::uint8_t* rows) {
    return writePng(path, width, height, strideBytes, rows, 3);
}

Result<> writePngBgra(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                      std::int32_t strideBytes, const std::uint8_t* rows) {
    return writePng(path, width, height, strideBytes, rows, 4);
}

}  // namespace platform
