#pragma once

#include "platform/MappedFile.h"
#include "raster/Color.h"

#include <cstdint>
#include <filesystem>

// A PDS IMG or FITS raster read in place: the mapped file and the geometry of the
// samples in it. Sample (x, y) is sample number y × width + x from dataOffset;
// the first line in the file is the bottom row (y = 0).
class RasterFile {
public:
    // Reads a PDS IMG label: 1 when accepted, 0 otherwise (with a message for a
    // file that is not a PDS file or has an unsupported sample type).
    [[nodiscard]] std::int32_t openImg(const std::filesystem::path& path);
    // The grey level of IMG pixel (x, y), already clamped into the image, into
    // out.r, out.g and out.b. Always 1.
    std::int32_t imgPixel(std::int32_t x, std::int32_t y, Color& out);
    // Reads a FITS primary header: 1 when accepted, 0 otherwise (with a message
    // for a file that is not FITS or has an unsupported BITPIX).
    [[nodiscard]] std::int32_t openFits(const std::filesystem::path& path);
    // The FITS sample at (x, y): integers scaled to -1…1, floats as stored; 0.0
    // outside the image.
    double fitsValue(std::int32_t x, std::int32_t y);
    void close() { mapped.close(); }

    platform::MappedFile mapped;
    std::int32_t dataOffset = 0;  // bytes from the start of the file to the first sample
    std::int32_t sampleBits = 0;  // PDS SAMPLE_BITS (8, 16, 32) or FITS BITPIX (8, 16, 32, -32, -64)
    std::int32_t width = 0;       // samples per line
    std::int32_t height = 0;      // lines
    std::int32_t channels = 0;    // always 1
};
