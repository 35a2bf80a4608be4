#pragma once

#include <filesystem>

namespace platform {

// The program running now, by its absolute path; empty when it cannot be told.
std::filesystem::path runningProgram();

// The folder that holds the running program's executable, or an empty path when
// the system cannot tell.
std::filesystem::path programDirectory();

}  // namespace platform
