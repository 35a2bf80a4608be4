#include "image/PdsImgLabel.h"
#include "image/RasterFile.h"

#include <limits>

namespace {

// The first sample's byte offset, records counting from 1; -1 when the label
// gives no usable record (none, 0, or a pointer to another file) or the product
// would not fit in 64 bits.
std::int64_t imageDataOffset(const PdsImgLabel& label) {
    if (label.imageRecord < 1 || label.recordBytes < 1) {
        return -1;
    }
    const std::int64_t skippedRecords = label.imageRecord - 1;
    if (skippedRecords > std::numeric_limits<std::int64_t>::max() / label.recordBytes) {
        return -1;
    }
    return skippedRecords * label.recordBytes;
}

}  // namespace

std::int32_t RasterFile::openImg(const std::filesystem::path& path) {
    if (mapAfresh(path) == 0) {
        return 0;
    }
    PdsImgLabel label;
    if (scanPdsImgLabel(mapped.data(), mapped.size(), label) != PdsImgLabelComplete) {
        refuse("Not a valid IMG file", path);
        return 0;
    }
    // 32-bit samples are refused as well: the label's sample type is not read, so
    // nothing tells integer from floating point.
    if (label.sampleBits != 8 && label.sampleBits != 16) {
        refuse("Unsupported Data Type", path);
        return 0;
    }
    if (acceptGeometry(imageDataOffset(label), label.width, label.height, label.sampleBits,
                       label.sampleBits / 8) == 0) {
        refuse("Not a valid IMG file", path);
        return 0;
    }
    return 1;
}

std::int32_t RasterFile::imgPixel(std::int32_t x, std::int32_t y, Color& out) {
    const std::int64_t sampleBytes = sampleBits / 8;
    const std::int64_t at = sampleOffset(x, y, sampleBytes);
    if (at < 0 || (sampleBits != 8 && sampleBits != 16)) {
        return 1;
    }
    // A 16-bit sample is stored least significant byte first: its upper 8 bits are
    // the second byte.
    mapped.position = static_cast<std::uint64_t>(at + sampleBytes - 1);
    const std::uint8_t grey = mapped.read8();
    out.r = grey;
    out.g = grey;
    out.b = grey;
    return 1;
}
