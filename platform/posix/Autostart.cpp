#include "platform/Autostart.h"

#include "platform/ReplaceFile.h"
#include "platform/posix/HomeFolder.h"

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

namespace {

// The application id the desktop knows the clock by, which names its entry.
constexpr char applicationId[] = "com.brantolm.Horavel";

// An Exec value that runs program and nothing else: the path as one quoted
// argument. Inside the quotes ", `, $ and \ take a backslash; the value is a
// string, whose own escaping then doubles every backslash; % is doubled so that
// it is no field code. None for a path no entry can hold (a control character,
// which would break the line).
std::optional<std::string> execValue(const std::string& program) {
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

// What the entry's main group says: the program its Exec starts, empty when it
// has none or is hidden (Hidden=true, as the autostart convention disables an
// entry).
std::filesystem::path startedProgram(const std::filesystem::path& entry) {
    std::ifstream file(entry);
    std::string line;
    bool inMainGroup = false;
    bool hidden = false;
    std::filesystem::path program;
    while (std::getline(file, line)) {
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
            program = firstArgument(value);
        } else if (key == "Hidden") {
            hidden = value == "true";
        }
    }
    return hidden ? std::filesystem::path{} : program;
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

bool autostartStarts(const std::filesystem::path& folder, const std::filesystem::path& program) {
    return sameProgram(startedProgram(autostartEntry(folder)), program);
}

bool addAutostart(const std::filesystem::path& folder, const std::filesystem::path& program) {
    const std::optional<std::string> exec = execValue(program.string());
    if (folder.empty() || program.empty() || !exec) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Horavel\n"
                              "Comment=The time over the Earth or the Moon, started at login\n"
                              "Icon=" + std::string(applicationId) + "\n"
                              "Exec=" + *exec + "\n"
                              "Terminal=false\n"
                              "StartupNotify=false\n";
    return replaceTextFile(autostartEntry(folder), entry) && autostartStarts(folder, program);
}

}  // namespace platform
