#include "image/FitsHeader.h"
#include "image/RasterFile.h"

namespace {

constexpr std::int64_t cardBytes = 80;
constexpr std::int64_t cardsPerBlock = 36;  // a FITS block is 2880 bytes, 36 cards

// The data types of the FITS Standard but 64-bit integers (BITPIX = 64), which
// are refused.
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
    // Only the primary array is read, and only a two-dimensional one: a cube, even
    // one whose third axis has a single plane, is refused, and extensions after
    // the primary array are never looked at.
    if (header.axes != 2) {
        return 0;
    }
    // As the standard lays it out, the header fills whole 2880-byte blocks and the
    // data start at the first block boundary after the END card. The data array's
    // own padding to a whole block is not required: only the samples must lie in
    // the file. The card count is bounded by the file's length, so the product
    // cannot overflow.
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
    // Samples are stored as the standard stores them: big-endian two's-complement
    // integers and IEEE floating point, NAXIS1 samples to a row, the first row
    // first. Two departures: BITPIX 8 is read as a signed byte (−128 … 127),
    // where the standard's 8-bit samples are unsigned (0 … 255), and the scaling
    // keywords are not read, so neither BZERO nor BSCALE (physical value = BZERO
    // + BSCALE × stored value) nor BLANK is applied: unsigned 16-bit data stored
    // with BZERO = 32768, for instance, come out shifted by half their range.
    // Integers are scaled so that their largest value reads 1, floats come out as
    // stored.
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
