#pragma once

#include <filesystem>

namespace platform {

// The folder the clock keeps its settings file in: Brantolm/Horavel inside the
// user's roaming application-data folder on Windows, inside $XDG_CONFIG_HOME
// (~/.config when unset) elsewhere. The folders that are missing are created;
// when that fails the path is still returned and writing into it will fail
// silently. Empty when the system names no such base folder at all.
std::filesystem::path settingsFolder();

}  // namespace platform
