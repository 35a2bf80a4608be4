#include "platform/CacheFolder.h"
#include "platform/SettingsFolder.h"
#include "platform/posix/HomeFolder.h"

#include <system_error>

namespace platform {

namespace {

// Brantolm/Horavel inside the base folder that the environment variable names,
// or inside inHome in the user's home when it is unset, created when missing.
// A relative base folder is invalid and ignored, as the base directory
// convention asks.
std::filesystem::path clockFolder(const char* variable, const char* inHome) {
    const std::filesystem::path base = xdgBaseFolder(variable, inHome);
    if (base.empty()) {
        return {};
    }
    std::filesystem::path folder = base / "Brantolm" / "Horavel";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace

std::filesystem::path settingsFolder() { return clockFolder("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path cacheFolder() { return clockFolder("XDG_CACHE_HOME", ".cache"); }

}  // namespace platform
