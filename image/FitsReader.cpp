#include "image/FitsHeader.h"
#include "image/RasterFile.h"

namespace {

constexpr std::int64_t cardBytes = 80;
constexpr std::int64_t cardsPerBlock = 36;  // a header block is 2880 bytes

bool supportedBitpix(std::int64_t bitpix) {
    return bitpix == 8 || bitpix == 16 || bitpix == 32 || bitpix == -32 || bitpix == -64;
}

}  // namespace

std::int32_t RasterFile::openFits(const std::filesystem::path& path) {
    if (mapAfresh(path) == 0) {
        return 0;
    }
    FitsHeader header;
    if (scanFitsHeader(mapped.data(), mapped.size(), header) != FitsHeaderComplete) {
        refuse("Not a valid FITS file", path);
        return 0;
    }
    if (!supportedBitpix(header.bitpix)) {
        refuse("FITS Unsupported Data Type", path);
        return 0;
    }
    if (header.axes != 2) {
        return 0;
    }
    // The data start at the first block boundary after the END card. The card
    // count is bounded by the file's length, so the product cannot overflow.
    const std::int64_t blocks = (header.cardCount + cardsPerBlock - 1) / cardsPerBlock;
    const std::int64_t offset = blocks * cardsPerBlock * cardBytes;
    const std::int64_t sampleBytes = (header.bitpix < 0 ? -header.bitpix : header.bitpix) / 8;
    if (acceptGeometry(offset, header.width, header.height, header.bitpix, sampleBytes) == 0) {
        refuse("Not a valid FITS file", path);
        return 0;
    }
    return 1;
}

double RasterFile::fitsValue(std::int32_t x, std::int32_t y) {
    const std::int64_t sampleBytes = (sampleBits < 0 ? -sampleBits : sampleBits) / 8;
    const std::int64_t at = sampleOffset(x, y, sampleBytes);
    if (at < 0) {
        return 0.0;
    }
    // Samples are stored most significant byte first; integers are scaled so that
    // their largest value reads 1.
    mapped.position = static_cast<std::uint64_t>(at);
    switch (sampleBits) {
        case 8:
            return static_cast<std::int8_t>(mapped.read8()) * 0.007874015748031496;
        case 16:
            return static_cast<std::int16_t>(mapped.read16(true)) * 3.051850947599719e-05;
        case 32:
            return mapped.read32(true) * 4.656612875245797e-10;
        case -32:
            return static_cast<double>(mapped.readFloat(true));
        case -64:
            return mapped.readDouble(true);
        default:
            return 0.0;
    }
}
