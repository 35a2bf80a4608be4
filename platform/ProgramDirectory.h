#pragma once

#include <filesystem>

namespace platform {

// The folder that holds the running program's executable, or an empty path when
// the system cannot tell.
std::filesystem::path programDirectory();

}  // namespace platform
