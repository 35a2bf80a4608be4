#pragma once

#include <filesystem>

namespace platform {

// The folder for files the clock can make again from its own, such as decoded
// maps: Brantolm/Horavel inside the user's local application-data folder on
// Windows, inside $XDG_CACHE_HOME (~/.cache when unset) elsewhere. The folders
// that are missing are created; when that fails the path is still returned and
// writing into it fails. Empty when the system names no such base folder.
std::filesystem::path cacheFolder();

}  // namespace platform
