#include "platform/Autostart.h"

#include "platform/common/AutostartEntryFile.h"
#include "platform/win32/Com.h"

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// What a shortcut starts: the program, as its target stands in it (empty when
// it names no file), and the arguments it passes, as one command line.
struct ShortcutCommand {
    std::filesystem::path target;
    std::wstring arguments;
};

// What the shortcut starts, or none when it cannot be read.
std::optional<ShortcutCommand> shortcutCommand(const std::filesystem::path& shortcut) {
    const ComScope com;
    ComReference<IShellLinkW> link;
    ComReference<IPersistFile> file;
    if (!createShellLink(link, file) || FAILED(file->Load(shortcut.c_str(), STGM_READ))) {
        return std::nullopt;
    }
    // Long paths fit: the shortcut holds as many characters as the system allows.
    std::vector<wchar_t> text(32768);
    ShortcutCommand command;
    if (link->GetPath(text.data(), static_cast<int>(text.size()), nullptr, SLGP_RAWPATH) == S_OK) {
        command.target = text.data();
    }
    if (FAILED(link->GetArguments(text.data(), static_cast<int>(text.size())))) {
        return std::nullopt;
    }
    command.arguments = text.data();
    return command;
}

// The arguments a command line's tail stands for, split as programs split
// their own command line; none when the system cannot split it.
std::optional<std::vector<std::wstring>> splitArguments(const std::wstring& arguments) {
    if (arguments.empty()) {
        return std::vector<std::wstring>{};
    }
    // The first word of a command line is split by other rules: one stands in
    // for the program and is dropped.
    const std::wstring commandLine = L"program " + arguments;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(commandLine.c_str(), &count);
    if (words == nullptr) {
        return std::nullopt;
    }
    std::vector<std::wstring> split(words + std::min(count, 1), words + count);
    LocalFree(words);
    return split;
}

// text as one argument of a command line: as it is when it holds no space, tab
// or quote; otherwise in double quotes, a quote taking a backslash, and
// backslashes doubled where a quote follows them.
std::wstring quotedArgument(std::wstring_view text) {
    if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring_view::npos) {
        return std::wstring(text);
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L'"';
}

// The UTF-8 text as UTF-16; none when it is not UTF-8.
std::optional<std::wstring> wideFromUtf8(std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
    if (units <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, wide.data(), units);
    return wide;
}

// The arguments that make the clock show zone, nothing for local time; none
// when the zone's name is not UTF-8, which no shortcut can carry.
std::optional<std::vector<std::wstring>> clockArguments(std::string_view zone) {
    if (zone.empty()) {
        return std::vector<std::wstring>{};
    }
    const std::optional<std::wstring> wideZone = wideFromUtf8(zone);
    if (!wideZone) {
        return std::nullopt;
    }
    return std::vector<std::wstring>{L"--zone", *wideZone};
}

// The zone's name as it stands in its shortcut's name: a / as a dot, ASCII
// letters, digits, _, - and + as they are, and any other byte (a dot, a
// character no file name may hold, one beyond ASCII) as % and two hex digits.
// Read from the left it gives the zone back, so no two zones share a shortcut.
// Windows' names of files do not tell case apart, but the time zone database
// never names two zones that differ only in case; and should the user name
// such a zone, the shortcut's arguments still tell its entry from the other's,
// which is left alone.
std::wstring zoneInFileName(std::string_view zone) {
    constexpr wchar_t hexDigits[] = L"0123456789ABCDEF";
    std::wstring name;
    for (const char c : zone) {
        const auto byte = static_cast<std::uint8_t>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
            c == '+') {
            name += static_cast<wchar_t>(c);
        } else if (c == '/') {
            name += L'.';
        } else {
            name += L'%';
            name += hexDigits[byte >> 4];
            name += hexDigits[byte & 0xF];
        }
    }
    return name;
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

std::filesystem::path autostartEntry(const std::filesystem::path& folder, std::string_view zone) {
    return folder / (zone.empty() ? L"Horavel.lnk" : L"Horavel (" + zoneInFileName(zone) + L").lnk");
}

AutostartEntry readAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program,
                                  std::string_view zone) {
    const std::optional<ShortcutCommand> command = shortcutCommand(entry);
    if (!command) {
        return AutostartEntry::Unreadable;
    }
    const std::optional<std::vector<std::wstring>> wanted = clockArguments(zone);
    const std::optional<std::vector<std::wstring>> given = splitArguments(command->arguments);
    std::error_code error;
    return !command->target.empty() && !program.empty() &&
                   std::filesystem::equivalent(command->target, program, error) && wanted && given &&
                   *wanted == *given
               ? AutostartEntry::Starts
               : AutostartEntry::OtherProgram;
}

Result<> writeAutostartEntry(const std::filesystem::path& folder, const std::filesystem::path& program,
                             std::string_view zone) {
    const std::optional<std::vector<std::wstring>> wanted = clockArguments(zone);
    if (!wanted) {
        return failure("the zone's name holds bytes that are not UTF-8, which no shortcut can hold");
    }
    std::wstring arguments;
    for (const std::wstring& argument : *wanted) {
        arguments += (arguments.empty() ? L"" : L" ") + quotedArgument(argument);
    }
    const ComScope com;
    ComReference<IShellLinkW> link;
    ComReference<IPersistFile> file;
    if (!createShellLink(link, file) || FAILED(link->SetPath(program.c_str())) ||
        FAILED(arguments.empty() ? S_OK : link->SetArguments(arguments.c_str())) ||
        FAILED(link->SetWorkingDirectory(program.parent_path().c_str())) ||
        FAILED(link->SetDescription(L"Horavel, a desktop clock")) ||
        FAILED(link->SetIconLocation(program.c_str(), 0)) ||
        FAILED(file->Save(autostartEntry(folder, zone).c_str(), TRUE))) {
        return failure("the shell could not save the shortcut");
    }
    return {};
}

}  // namespace platform
