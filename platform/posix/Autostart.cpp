#include "platform/Autostart.h"

#include "platform/FileAccess.h"
#include "platform/ReplaceFile.h"
#include "platform/common/AutostartEntryFile.h"
#include "platform/posix/HomeFolder.h"

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

namespace {

// The application id the desktop knows the clock by, which names its entry.
constexpr char applicationId[] = "com.brantolm.Horavel";

// An entry larger than this is no desktop entry the clock wrote, and is not read
// further than that, bytes.
constexpr std::size_t entryReadLimit = 64 * 1024;

// True when text is UTF-8 as desktop entries must be: no stray continuation
// byte, no overlong form, no surrogate, nothing past U+10FFFF.
bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2
                                                  : lead >= 0xE0 && lead < 0xF0   ? 3
                                                  : lead >= 0xF0 && lead < 0xF5   ? 4
                                                                                  : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<std::uint8_t>(text[i + k]);
            if ((trail & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (trail & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

// An Exec value that runs program and nothing else: the path as one quoted
// argument. Inside the quotes ", `, $ and \ take a backslash; the value is a
// string, whose own escaping then doubles every backslash; % is doubled so that
// it is no field code. None for a path no entry can hold (a control character,
// which would break the line; bytes that are not UTF-8, which desktops refuse).
std::optional<std::string> execValue(const std::string& program) {
    if (!isUtf8(program)) {
        return std::nullopt;
    }
    std::string quoted = "\"";
    for (const char c : program) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
        if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
        } else if (c == '\\') {
            quoted += "\\\\\\";
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + '"';
}

// Undoes a string value's escapes: \s, \n, \t, \r and \\.
std::string unescapeString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': text += ' '; break;
        case 'n': text += '\n'; break;
        case 't': text += '\t'; break;
        case 'r': text += '\r'; break;
        case '\\': text += '\\'; break;
        default: text += '\\'; text += value[i]; break;
        }
    }
    return text;
}

// The program an Exec value starts: its first argument, unquoted, with %%
// read as %.
std::string firstArgument(std::string_view exec) {
    std::string argument;
    std::size_t i = 0;
    if (!exec.empty() && exec[0] == '"') {
        for (i = 1; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size()) {
                ++i;
            }
            argument += exec[i];
        }
    } else {
        for (; i < exec.size() && exec[i] != ' '; ++i) {
            argument += exec[i];
        }
    }
    std::string unpercented;
    for (std::size_t k = 0; k < argument.size(); ++k) {
        unpercented += argument[k];
        if (argument[k] == '%' && k + 1 < argument.size() && argument[k + 1] == '%') {
            ++k;
        }
    }
    return unpercented;
}

// What an entry's main group says: the program its Exec starts (empty when it
// has none) and whether it is hidden (Hidden=true, as the autostart convention
// turns an entry off).
struct EntryContent {
    std::filesystem::path program;
    bool hidden = false;
};

EntryContent readEntry(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool inMainGroup = false;
    EntryContent content;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, equals);
        while (!key.empty() && key.back() == ' ') {
            key.pop_back();
        }
        std::size_t valueStart = equals + 1;
        while (valueStart < line.size() && line[valueStart] == ' ') {
            ++valueStart;
        }
        const std::string value = unescapeString(std::string_view(line).substr(valueStart));
        if (key == "Exec") {
            content.program = firstArgument(value);
        } else if (key == "Hidden") {
            content.hidden = value == "true";
        }
    }
    return content;
}

bool sameProgram(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

}  // namespace

std::filesystem::path autostartFolder() {
    const std::filesystem::path base = xdgBaseFolder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base / "autostart";
}

std::filesystem::path autostartEntry(const std::filesystem::path& folder) {
    return folder / (std::string(applicationId) + ".desktop");
}

AutostartEntry readAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program) {
    std::string text;
    switch (readRegularFile(entry, entryReadLimit, text)) {
    case FileRead::Read:
        break;
    case FileRead::Missing:
        return AutostartEntry::Absent;
    case FileRead::NotRegular:
        return AutostartEntry::NotAFile;
    case FileRead::Failed:
        return AutostartEntry::Unreadable;
    }
    const EntryContent content = readEntry(text);
    if (!sameProgram(content.program, program)) {
        return AutostartEntry::OtherProgram;
    }
    return content.hidden ? AutostartEntry::Disabled : AutostartEntry::Starts;
}

bool writeAutostartEntry(const std::filesystem::path& folder, const std::filesystem::path& program,
                         std::string& reason) {
    const std::optional<std::string> exec = execValue(program.string());
    if (!exec) {
        reason = "the program's path holds a control character or bytes that are not UTF-8, which no desktop entry "
                 "can hold";
        return false;
    }
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Horavel\n"
                              "Comment=The time over the Earth or the Moon, started at login\n"
                              "Icon=" + std::string(applicationId) + "\n"
                              "Exec=" + *exec + "\n"
                              "Terminal=false\n"
                              "StartupNotify=false\n";
    // Written over the entry's name itself: should a link have taken its
    // place since it was looked at, the link goes, never what it leads to.
    if (!replaceFileItself(autostartEntry(folder), {entry})) {
        reason = lastFileError();
        return false;
    }
    return true;
}

}  // namespace platform
