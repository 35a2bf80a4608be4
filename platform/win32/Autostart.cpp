#include "platform/Autostart.h"

#include "platform/common/AutostartEntryFile.h"
#include "platform/win32/Com.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <optional>
#include <system_error>
#include <vector>

namespace platform {

namespace {

// A shell link object, or none when the shell cannot make one.
bool createShellLink(ComReference<IShellLinkW>& link, ComReference<IPersistFile>& file) {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(link.out()))) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())));
}

// The program the shortcut starts, as its target stands in it: empty when it
// names no file, none when the shortcut cannot be read.
std::optional<std::filesystem::path> shortcutTarget(const std::filesystem::path& shortcut) {
    const ComScope com;
    ComReference<IShellLinkW> link;
    ComReference<IPersistFile> file;
    if (!createShellLink(link, file) || FAILED(file->Load(shortcut.c_str(), STGM_READ))) {
        return std::nullopt;
    }
    // Long paths fit: the shortcut holds as many characters as the system allows.
    std::vector<wchar_t> target(32768);
    if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH) != S_OK) {
        return {};
    }
    return std::filesystem::path(target.data());
}

}  // namespace

std::filesystem::path autostartFolder() {
    PWSTR found = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_DEFAULT, nullptr, &found))) {
        folder = found;
    }
    CoTaskMemFree(found);
    return folder;
}

std::filesystem::path autostartEntry(const std::filesystem::path& folder) { return folder / L"Horavel.lnk"; }

AutostartEntry readAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program) {
    const std::optional<std::filesystem::path> target = shortcutTarget(entry);
    if (!target) {
        return AutostartEntry::Unreadable;
    }
    std::error_code error;
    return !target->empty() && !program.empty() && std::filesystem::equivalent(*target, program, error)
               ? AutostartEntry::Starts
               : AutostartEntry::OtherProgram;
}

bool writeAutostartEntry(const std::filesystem::path& folder, const std::filesystem::path& program,
                         std::string& reason) {
    const ComScope com;
    ComReference<IShellLinkW> link;
    ComReference<IPersistFile> file;
    if (!createShellLink(link, file) || FAILED(link->SetPath(program.c_str())) ||
        FAILED(link->SetWorkingDirectory(program.parent_path().c_str())) ||
        FAILED(link->SetDescription(L"Horavel, a desktop clock")) ||
        FAILED(link->SetIconLocation(program.c_str(), 0)) ||
        FAILED(file->Save(autostartEntry(folder).c_str(), TRUE))) {
        reason = "the shell could not save the shortcut";
        return false;
    }
    return true;
}

}  // namespace platform
