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

// The base folder for configuration files. A relative $XDG_CONFIG_HOME is invalid
// and ignored, as the base directory convention asks.
std::filesystem::path configurationFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
        return config;
    }
    const std::filesystem::path home = homeFolder();
    return home.empty() ? home : home / ".config";
}

}  // namespace

std::filesystem::path settingsFolder() {
    const std::filesystem::path base = configurationFolder();
    if (base.empty()) {
        return {};
    }
    std::filesystem::path folder = base / "Brantolm" / "Horavel";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace platform
