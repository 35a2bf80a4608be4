#pragma once

#include <cstdio>
#include <filesystem>

namespace platform {

// A stream to read bytes from as they stand: standard input, switched to
// binary where the system tells text from binary, for "-"; else the file at
// path, opened for reading. Null when it cannot be opened. Close only what is
// not standard input.
std::FILE* openBinaryStream(const std::filesystem::path& path);

}  // namespace platform
