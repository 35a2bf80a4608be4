#include "image/PdsImgLabel.h"
#include "image/RasterFile.h"
#include "platform/StoreSize.h"

namespace {

// The first sample's byte offset, records counting from 1; -1 when the label
// gives no usable record (none, 0, or a pointer to another file) or the product
// would not fit in 64 bits. Of the pointer forms of PDS3 only ^IMAGE = n, a
// record number, is read as the standard means it. ^IMAGE = n <BYTES>, a byte
// position counting from 1, is read as a record number all the same, and the
// pointers to a detached file, ^IMAGE = "FILE.IMG" or ("FILE.IMG", n), give no
// record, so such a file is refused. LABEL_RECORDS is not needed: the pointer
// alone places the samples.
std::int64_t imageDataOffset(const PdsImgLabel& label) {
    if (label.imageRecord < 1 || label.recordBytes < 1) {
        return -1;
    }
    return checkedProduct(label.imageRecord - 1, label.recordBytes).value_or(-1);
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
    // SAMPLE_TYPE is not read, so nothing tells integer from floating point, or
    // the byte order: 32-bit samples are refused, and 16-bit ones are taken as
    // least significant byte first (LSB_INTEGER, LSB_UNSIGNED_INTEGER), which
    // shows an MSB_INTEGER file with its bytes swapped. BANDS, LINE_PREFIX_BYTES
    // and LINE_SUFFIX_BYTES are not read either: one band, lines packed.
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
    // A 16-bit sample is taken as stored least significant byte first: its upper 8
    // bits are the second byte, shown whether the sample is signed or not. The
    // label's display directions are not read: the first line of samples is the
    // image's bottom row, y = 0.
    mapped.position = static_cast<std::uint64_t>(at + sampleBytes - 1);
    const std::uint8_t grey = mapped.read8();
    out.r = grey;
    out.g = grey;
    out.b = grey;
    return 1;
}
