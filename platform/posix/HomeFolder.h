#pragma once

#include <filesystem>

namespace platform {

// The user's home: $HOME when it is an absolute path, else the password
// database's; empty when neither names one.
std::filesystem::path homeFolder();

// The base folder an XDG variable names when it is an absolute path (a relative
// one is invalid, as the base directory convention says), else inHome inside the
// user's home; empty without a home.
std::filesystem::path xdgBaseFolder(const char* variable, const char* inHome);

}  // namespace platform
