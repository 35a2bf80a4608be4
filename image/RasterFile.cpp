#include "image/RasterFile.h"

#include "platform/Messages.h"
#include "platform/StoreSize.h"

#include <utility>

std::int32_t RasterFile::mapAfresh(const std::filesystem::path& path) {
    if (mapped.open(path) == 0) {
        return 0;
    }
    channels = 1;
    width = 0;
    height = 0;
    dataOffset = 0;
    sampleBits = 0;
    return 1;
}

void RasterFile::refuse(const char* caption, const std::filesystem::path& path) {
    platform::showMessage(caption, platform::utf8FromPath(path));
}

std::int32_t RasterFile::acceptGeometry(std::int64_t offset, std::int64_t columns,
                                        std::int64_t rows, std::int64_t bits,
                                        std::int64_t sampleBytes) {
    if (offset < 0 || !std::in_range<std::int32_t>(offset) || columns < 1 ||
        !std::in_range<std::int32_t>(columns) || rows < 1 || !std::in_range<std::int32_t>(rows)) {
        return 0;
    }
    // The samples' bytes are compared with what the file holds after the offset.
    const std::optional<std::int64_t> dataBytes = checkedProduct(columns, rows, sampleBytes);
    const std::uint64_t fileBytes = mapped.size();
    if (!dataBytes || static_cast<std::uint64_t>(offset) > fileBytes ||
        static_cast<std::uint64_t>(*dataBytes) > fileBytes - static_cast<std::uint64_t>(offset)) {
        return 0;
    }
    dataOffset = static_cast<std::int32_t>(offset);
    width = static_cast<std::int32_t>(columns);
    height = static_cast<std::int32_t>(rows);
    sampleBits = static_cast<std::int32_t>(bits);
    return 1;
}

std::int64_t RasterFile::sampleOffset(std::int32_t x, std::int32_t y,
                                      std::int64_t sampleBytes) const {
    if (x < 0 || x >= width || y < 0 || y >= height) {
        return -1;
    }
    const std::int64_t n = static_cast<std::int64_t>(y) * width + x;
    return dataOffset + n * sampleBytes;
}
