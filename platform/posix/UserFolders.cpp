#include "platform/CacheFolder.h"
#include "platform/SettingsFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace platform {

namespace {

// The user's home: $HOME, or the password database when it is unset.
std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

// Brantolm/Horavel inside the base folder that the environment variable names,
// or inside inHome in the user's home when it is unset, created when missing.
// A relative base folder is invalid and ignored, as the base directory
// convention asks.
std::filesystem::path clockFolder(const char* variable, const char* inHome) {
    std::filesystem::path base;
    if (const char* named = std::getenv(variable); named != nullptr && named[0] == '/') {
        base = named;
    } else if (const std::filesystem::path home = homeFolder(); !home.empty()) {
        base = home / inHome;
    } else {
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
