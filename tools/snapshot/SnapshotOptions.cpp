#include "SnapshotOptions.h"

#include "platform/FileAccess.h"
#include "tools/common/IsoTime.h"

#include <charconv>
#include <iterator>
#include <system_error>
#include <string_view>

namespace {

// Arguments are UTF-8 text: on Linux as the terminal gives them, on Windows by
// the UTF-8 code page the program's manifest asks for.
std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool parseUnit(std::string_view text, std::int32_t& unit) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < smallestUnit || value > largestUnit) {
        return false;
    }
    unit = value;
    return true;
}

// The options without a value, each setting one field.
struct FlagOption {
    std::string_view name;
    bool SnapshotOptions::*field;
};
constexpr FlagOption flagOptions[] = {
    {"--help", &SnapshotOptions::help},
    {"-h", &SnapshotOptions::help},
    {"--version", &SnapshotOptions::version},
    {"--describe", &SnapshotOptions::describe},
};

// The options whose value is a path.
struct PathOption {
    std::string_view name;
    std::optional<std::filesystem::path> SnapshotOptions::*field;
};
constexpr PathOption pathOptions[] = {
    {"--earth-texture", &SnapshotOptions::earthTexture},
    {"--moon-texture", &SnapshotOptions::moonTexture},
    {"--earth-out", &SnapshotOptions::earthOut},
    {"--moon-out", &SnapshotOptions::moonOut},
    {"--out", &SnapshotOptions::windowOut},
    {"--menu-out", &SnapshotOptions::menuOut},
};

// Takes the value of an option that has one (see takesValue). False with the
// reason in error when the value is bad.
bool takeValue(std::string_view name, std::string_view value, SnapshotOptions& options, std::string& error) {
    for (const PathOption& option : pathOptions) {
        if (name == option.name) {
            options.*option.field = pathFromUtf8(value);
            return true;
        }
    }
    if (name == "--zone") {
        options.zone = std::string(value);
        return true;
    }
    if (name == "--first-weekday") {
        if (value != "monday" && value != "sunday") {
            error = "--first-weekday wants monday or sunday, not '" + std::string(value) + "'";
            return false;
        }
        options.faceOptions.firstWeekday = value == "monday" ? FirstWeekday::Monday : FirstWeekday::Sunday;
        return true;
    }
    if (name == "--at") {
        platform::FileTime moment;
        if (!parseIsoTime(value, moment)) {
            error = "--at wants an ISO-8601 time from 1601 on with Z or an offset, such as 2000-01-01T12:00:00Z, not '" +
                    std::string(value) + "'";
            return false;
        }
        options.atUtc = moment;
        return true;
    }
    // --unit, the one left.
    if (!parseUnit(value, options.unit)) {
        error = "--unit wants a whole number of pixels from " + std::to_string(smallestUnit) + " to " +
                std::to_string(largestUnit) + ", not '" + std::string(value) + "'";
        return false;
    }
    return true;
}

bool isFlag(std::string_view name, SnapshotOptions& options) {
    if (name == "--earthshine") {
        options.faceOptions.earthshine = true;
        return true;
    }
    for (const FlagOption& option : flagOptions) {
        if (name == option.name) {
            options.*option.field = true;
            return true;
        }
    }
    return false;
}

bool takesValue(std::string_view name) {
    for (const PathOption& option : pathOptions) {
        if (name == option.name) {
            return true;
        }
    }
    return name == "--at" || name == "--unit" || name == "--zone" || name == "--first-weekday";
}

// Whether two paths name one file: the same path once links (a dangling one
// too) and dots are resolved, whether or not the file exists yet.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    const auto resolved = [](const std::filesystem::path& path, std::error_code& error) {
        const std::filesystem::path absolute = std::filesystem::absolute(platform::linkTarget(path), error);
        return error ? path : std::filesystem::weakly_canonical(absolute, error);
    };
    std::error_code firstError;
    std::error_code secondError;
    const std::filesystem::path first = resolved(a, firstError);
    const std::filesystem::path second = resolved(b, secondError);
    return firstError || secondError ? a.lexically_normal() == b.lexically_normal() : first == second;
}

// The pictures must go to files of their own, or one would be lost; and
// standard input can give one map only. False with the reason in error.
bool pathsApart(const SnapshotOptions& options, std::string& error) {
    const struct {
        const char* name;
        const std::optional<std::filesystem::path>& path;
    } outputs[] = {{"--out", options.windowOut},
                   {"--earth-out", options.earthOut},
                   {"--moon-out", options.moonOut},
                   {"--menu-out", options.menuOut}};
    for (std::size_t i = 0; i < std::size(outputs); ++i) {
        for (std::size_t k = i + 1; k < std::size(outputs); ++k) {
            if (outputs[i].path && outputs[k].path && sameFile(*outputs[i].path, *outputs[k].path)) {
                error = std::string(outputs[i].name) + " and " + outputs[k].name +
                        " name the same file, which would keep only one of the pictures";
                return false;
            }
        }
    }
    if (options.earthTexture == std::filesystem::path("-") && options.moonTexture == std::filesystem::path("-")) {
        error = "--earth-texture and --moon-texture cannot both read standard input";
        return false;
    }
    return true;
}

}  // namespace

bool parseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (isFlag(name, options)) {
            continue;
        }
        if (!takesValue(name)) {
            error = "unknown argument '" + std::string(name) + "'";
            return false;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = std::string(name) + " needs a value";
            return false;
        }
        if (!takeValue(name, argv[++i], options, error)) {
            return false;
        }
    }
    if (!options.help && !options.version && !options.describe && !options.wantsPictures()) {
        error = "nothing to do: give --out, --earth-out, --moon-out, --menu-out or --describe";
        return false;
    }
    return pathsApart(options, error);
}

std::string snapshotUsage() {
    return "usage: horavel-snapshot [--at TIME] [--unit U] [--zone NAME] [--first-weekday DAY] [--earthshine]\n"
           "                        [--earth-texture PATH] [--moon-texture PATH]\n"
           "                        [--out PNG] [--earth-out PNG] [--moon-out PNG] [--menu-out PNG] [--describe]\n"
           "       horavel-snapshot --version | --help\n"
           "  --at TIME            the moment, ISO-8601 with Z or an offset, e.g. 2000-01-01T12:00:00Z\n"
           "                       or 2000-01-01T13:00:00.5+01:00 (default: now)\n"
           "  --unit U             layout unit in pixels, 1 to 500 (default 28); the globes are 14U x 14U,\n"
           "                       two columns wider for an odd U\n"
           "  --zone NAME          show the time of the IANA zone NAME, such as Asia/Tokyo, as the clock of\n"
           "                       that zone does (default: local time)\n"
           "  --first-weekday DAY  monday or sunday (default), the calendar's first column\n"
           "  --earthshine         light the Moon's night side with the Earth's light\n"
           "  --earth-texture PATH Earth map (default: Earth.png here, else beside the program,\n"
           "                       else in ../share/horavel beside the program's folder); - reads\n"
           "                       it from standard input, and a named pipe is read to its end\n"
           "  --moon-texture PATH  Moon map (default: Moon.png, found the same way)\n"
           "  --out PNG            write the whole window picture, 7U x 16U: the clock above the calendar,\n"
           "                       in local time by the TZ environment variable, or the zone's\n"
           "  --earth-out PNG      write the Earth as seen from the Sun\n"
           "  --moon-out PNG       write the Moon as seen from the Earth\n"
           "  --menu-out PNG       write the clock's menu as its X11 window shows it at 96 DPI, opened on a\n"
           "                       window of unit U that is not on top and not started at login\n"
           "  --describe           print the positions, the sub-solar points and the Moon's phase as JSON\n"
           "  --version            print the version\n"
           "  --help               print this text\n";
}
