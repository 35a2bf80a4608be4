#pragma once

#include "platform/posix/FrameReader.h"

#include <filesystem>
#include <memory>

namespace platform::posix {

// Opens a single-page TIFF file. Null for a damaged, unsupported or multi-page
// file.
std::unique_ptr<FrameReader> openTiff(const std::filesystem::path& path);

}  // namespace platform::posix
