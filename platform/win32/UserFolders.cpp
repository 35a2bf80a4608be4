#include "platform/CacheFolder.h"
#include "platform/SettingsFolder.h"

#include <shlobj.h>
#include <windows.h>

namespace platform {

namespace {

// Appends one folder level and creates it when it does not exist yet. Paths are
// wide throughout, so a profile folder with any characters works, and a path
// longer than MAX_PATH is never cut short into a different folder.
std::filesystem::path enterFolder(const std::filesystem::path& parent, const wchar_t* name) {
    std::filesystem::path folder = parent / name;
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

// Brantolm\Horavel inside the user's application-data folder of the kind given
// (a CSIDL), created when missing.
std::filesystem::path clockFolder(int kind) {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, kind, nullptr, SHGFP_TYPE_CURRENT, base))) {
        return {};
    }
    return enterFolder(enterFolder(base, L"Brantolm"), L"Horavel");
}

}  // namespace

std::filesystem::path settingsFolder() { return clockFolder(CSIDL_APPDATA); }

std::filesystem::path cacheFolder() { return clockFolder(CSIDL_LOCAL_APPDATA); }

}  // namespace platform
