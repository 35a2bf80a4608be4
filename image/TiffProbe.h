#pragma once

#include <cstdint>
#include <filesystem>

// The TIFF version word of a file, always read least significant byte first:
// 1 for 42 (classic TIFF), 2 for 43 (BigTIFF), 0 for anything else, for a file
// shorter than 4 bytes, or one that can't be opened.
std::int32_t probeTiffVersion(const std::filesystem::path& path);
