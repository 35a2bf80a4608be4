#include "image/RasterFile.h"

// The PDS IMG and FITS readers come with their own change; until then no such
// file is accepted.
std::int32_t RasterFile::openImg(const std::filesystem::path&) { return 0; }
std::int32_t RasterFile::imgPixel(std::int32_t, std::int32_t, Color&) { return 1; }
std::int32_t RasterFile::openFits(const std::filesystem::path&) { return 0; }
double RasterFile::fitsValue(std::int32_t, std::int32_t) { return 0.0; }
