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

}  // namespace

std::filesystem::path settingsFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        return {};
    }
    return enterFolder(enterFolder(appData, L"Brantolm"), L"Horavel");
}

}  // namespace platform
