#include "platform/Autostart.h"

#include "platform/FileAccess.h"
#include "platform/ReplaceFile.h"
#include "platform/common/AutostartEntryFile.h"
#include "platform/posix/HomeFolder.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

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

// The elements that name zone's entry after the application id. Each part of
// the zone's name between slashes becomes one element, which a desktop file id
// allows only ASCII letters, digits and underscores and no digit first. Letters
// and digits stand for themselves; _ is written __, - _m, + _p, and any other
// byte _x and two hex digits; a part that is empty or begins with a digit is
// preceded by a _. An element read from the left gives back its part, so no
// two zones share an entry.
std::string zoneElements(std::string_view zone) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    constexpr char hexDigits[] = "0123456789abcdef";
    std::string elements;
    std::size_t partStart = 0;
    for (;;) {
        const std::size_t slash = zone.find('/', partStart);
        const std::string_view part =
            zone.substr(partStart, slash == std::string_view::npos ? slash : slash - partStart);
        if (part.empty() || isDigit(part[0])) {
            elements += '_';
        }
        for (const char c : part) {
            const auto byte = static_cast<std::uint8_t>(c);
            if (isLetter(c) || isDigit(c)) {
                elements += c;
            } else if (c == '_') {
                elements += "__";
            } else if (c == '-') {
                elements += "_m";
            } else if (c == '+') {
                elements += "_p";
            } else {
                elements += "_x";
                elements += hexDigits[byte >> 4];
                elements += hexDigits[byte & 0xF];
            }
        }
        if (slash == std::string_view::npos) {
            return elements;
        }
        elements += '.';
        partStart = slash + 1;
    }
}

// text as one quoted argument of an Exec value. Inside the quotes ", `, $
// and \ take a backslash; the value is a string, whose own escaping then
// doubles every backslash; % is doubled so that it is no field code. None for
// text no entry can hold (a control character, which would break the line;
// bytes that are not UTF-8, which desktops refuse).
std::optional<std::string> quotedArgument(std::string_view text) {
    if (!isUtf8(text)) {
        return std::nullopt;
    }
    std::string quoted = "\"";
    for (const char c : text) {
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

// What the entry is called: the clock's name, and for a zone's clock the place
// after the zone name's last slash, underscores as spaces, as the clock's
// window is titled. A backslash is doubled, as a string value writes it.
std::string nameValue(std::string_view zone) {
    if (zone.empty()) {
        return "Horavel";
    }
    std::string name = "Horavel \u2014 ";
    for (const char c : zone.substr(zone.rfind('/') + 1)) {
        if (c == '_') {
            name += ' ';
        } else {
            name += c;
            if (c == '\\') {
                name += c;
            }
        }
    }
    return name;
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

// The arguments of an Exec value, the program first: split at spaces outside
// quotes, the quotes taken away, a backslash inside them taken as escaping the
// next character, %% read as %.
std::vector<std::string> execArguments(std::string_view exec) {
    std::vector<std::string> arguments;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == ' ' && !quoted) {
            inArgument = false;
            continue;
        }
        if (!inArgument) {
            arguments.emplace_back();
            inArgument = true;
        }
        if (c == '"') {
            quoted = !quoted;
        } else if (i + 1 < exec.size() && ((c == '\\' && quoted) || (c == '%' && exec[i + 1] == '%'))) {
            arguments.back() += exec[++i];
        } else {
            arguments.back() += c;
        }
    }
    return arguments;
}

// What an entry's main group says: the arguments of its Exec, the program
// first (none when it has no Exec), and whether it is hidden (Hidden=true, as
// the autostart convention turns an entry off).
struct EntryContent {
    std::vector<std::string> arguments;
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
            content.arguments = execArguments(value);
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

// Whether arguments run program showing zone, with nothing else.
bool startsClock(const std::vector<std::string>& arguments, const std::filesystem::path& program,
                 std::string_view zone) {
    const std::vector<std::string> clockArguments =
        zone.empty() ? std::vector<std::string>{} : std::vector<std::string>{"--zone", std::string(zone)};
    return !arguments.empty() && sameProgram(arguments[0], program) &&
           std::equal(arguments.begin() + 1, arguments.end(), clockArguments.begin(), clockArguments.end());
}

}  // namespace

std::filesystem::path autostartFolder() {
    const std::filesystem::path base = xdgBaseFolder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base / "autostart";
}

std::filesystem::path autostartEntry(const std::filesystem::path& folder, std::string_view zone) {
    const std::string id = zone.empty() ? applicationId : std::string(applicationId) + ".Zone." + zoneElements(zone);
    return folder / (id + ".desktop");
}

AutostartEntry readAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program,
                                  std::string_view zone) {
    const Result<FileBytes> file = readRegularFile(entry, entryReadLimit);
    if (!file) {
        return AutostartEntry::Unreadable;
    }
    switch (file->found) {
    case FileRead::Read:
        break;
    case FileRead::Missing:
        return AutostartEntry::Absent;
    case FileRead::NotRegular:
        return AutostartEntry::NotAFile;
    }
    const EntryContent content = readEntry(file->bytes);
    if (!startsClock(content.arguments, program, zone)) {
        return AutostartEntry::OtherProgram;
    }
    return content.hidden ? AutostartEntry::Disabled : AutostartEntry::Starts;
}

Result<> writeAutostartEntry(const std::filesystem::path& folder, const std::filesystem::path& program,
                             std::string_view zone) {
    // The Exec value runs program, and for a zone's clock --zone and its name,
    // each path or name one quoted argument.
    const std::optional<std::string> exec = quotedArgument(program.string());
    const std::optional<std::string> zoneArgument = quotedArgument(zone);
    if (!exec) {
        return failure("the program's path holds a control character or bytes that are not UTF-8, which no desktop "
                       "entry can hold");
    }
    if (!zoneArgument) {
        return failure("the zone's name holds a control character or bytes that are not UTF-8, which no desktop "
                       "entry can hold");
    }
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" + nameValue(zone) + "\n"
                              "Comment=The time over the Earth or the Moon, started at login\n"
                              "Icon=" + std::string(applicationId) + "\n"
                              "Exec=" + *exec + (zone.empty() ? "" : " --zone " + *zoneArgument) + "\n"
                              "Terminal=false\n"
                              "StartupNotify=false\n";
    // Written over the entry's name itself: should a link have taken its
    // place since it was looked at, the link goes, never what it leads to.
    return replaceFileItself(autostartEntry(folder, zone), {entry});
}

}  // namespace platform
