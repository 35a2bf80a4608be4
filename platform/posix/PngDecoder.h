#pragma once

#include "platform/posix/FrameReader.h"

#include <cstdio>
#include <memory>

namespace platform::posix {

// Opens a PNG file (ownership of the stream passes to the reader, which reads
// from its start). Null for a damaged or animated file.
std::unique_ptr<FrameReader> openPng(std::FILE* file);

}  // namespace platform::posix
