#pragma once

#include "platform/MappedFile.h"
#include "raster/Color.h"

#include <cstdint>
#include <filesystem>

// A PDS IMG or FITS raster read in place: the mapped file and the geometry of the
// samples in it. Sample (x, y) is sample number y × width + x from dataOffset;
// the first line in the file is the bottom row (y = 0).
//
// An open succeeds only when the whole data area lies inside the file, so a pixel
// read never needs more than its own bounds check; the reads check against the
// file's length all the same.
class RasterFile {
public:
    RasterFile() = default;
    ~RasterFile() { close(); }
    RasterFile(const RasterFile&) = delete;
    RasterFile& operator=(const RasterFile&) = delete;

    // Reads a PDS IMG label: 1 when accepted, 0 otherwise. Shows "Not a valid IMG
    // file" for a file that is not PDS, whose label has no END line or whose data
    // area does not fit in the file, and "Unsupported Data Type" for samples other
    // than 8 or 16 bits; a file that cannot be mapped fails without a message.
    [[nodiscard]] std::int32_t openImg(const std::filesystem::path& path);
    // The grey level of IMG pixel (x, y) into out.r, out.g and out.b: the sample
    // for 8 bits, its more significant byte for 16 bits (stored least significant
    // byte first). Coordinates outside the image leave out as it is. Always 1.
    std::int32_t imgPixel(std::int32_t x, std::int32_t y, Color& out);
    // Reads a FITS primary header: 1 when accepted, 0 otherwise. Shows "Not a valid
    // FITS file" for a file whose first card is not SIMPLE, whose header has no END
    // card or whose data array does not fit in the file, and "FITS Unsupported Data
    // Type" for a BITPIX other than 8, 16, 32, -32, -64; a number of axes other
    // than 2 is refused without a message.
    [[nodiscard]] std::int32_t openFits(const std::filesystem::path& path);
    // The FITS sample at (x, y): integers scaled to -1…1, floats as stored; 0.0
    // outside the image or before a successful open.
    double fitsValue(std::int32_t x, std::int32_t y);
    // Closes the mapped file; harmless when already closed.
    void close() { mapped.close(); }

    platform::MappedFile mapped;
    std::int32_t dataOffset = 0;  // bytes from the start of the file to the first sample
    std::int32_t sampleBits = 0;  // PDS SAMPLE_BITS (8, 16) or FITS BITPIX (8, 16, 32, -32, -64)
    std::int32_t width = 0;       // samples per line
    std::int32_t height = 0;      // lines
    std::int32_t channels = 0;    // always 1

private:
    // Maps the file and forgets any earlier geometry: 1 when a view exists.
    std::int32_t mapAfresh(const std::filesystem::path& path);
    // Tells the user why the file at path is refused: caption is the reason.
    static void refuse(const char* caption, const std::filesystem::path& path);
    // Takes the geometry when its data area, sampleBytes per sample, lies wholly
    // inside the mapped file and every number fits its field: 1, else 0 with the
    // fields untouched.
    std::int32_t acceptGeometry(std::int64_t offset, std::int64_t columns, std::int64_t rows,
                                std::int64_t bits, std::int64_t sampleBytes);
    // Where sample (x, y) starts, or -1 outside the image.
    std::int64_t sampleOffset(std::int32_t x, std::int32_t y, std::int64_t sampleBytes) const;
};
