#include "SnapshotOptions.h"

#include "tools/common/IsoTime.h"

#include <charconv>
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

}  // namespace

bool parseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name == "--describe") {
            options.describe = true;
            continue;
        }
        const bool takesValue = name == "--at" || name == "--unit" || name == "--earth-texture" ||
                                name == "--moon-texture" || name == "--earth-out" || name == "--moon-out" ||
                                name == "--out" || name == "--menu-out";
        if (!takesValue) {
            error = "unknown argument '" + std::string(name) + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return false;
        }
        const std::string_view value = argv[++i];
        if (value.empty()) {
            error = std::string(name) + " needs a value";
            return false;
        }
        if (name == "--at") {
            platform::FileTime moment;
            if (!parseIsoTime(value, moment)) {
                error = "--at wants an ISO-8601 time from 1601 on with Z or an offset, such as 2000-01-01T12:00:00Z, not '" +
                        std::string(value) + "'";
                return false;
            }
            options.atUtc = moment;
        } else if (name == "--unit") {
            if (!parseUnit(value, options.unit)) {
                error = "--unit wants a whole number of pixels from " + std::to_string(smallestUnit) + " to " +
                        std::to_string(largestUnit) + ", not '" + std::string(value) + "'";
                return false;
            }
        } else if (name == "--earth-texture") {
            options.earthTexture = pathFromUtf8(value);
        } else if (name == "--moon-texture") {
            options.moonTexture = pathFromUtf8(value);
        } else if (name == "--earth-out") {
            options.earthOut = pathFromUtf8(value);
        } else if (name == "--out") {
            options.windowOut = pathFromUtf8(value);
        } else if (name == "--menu-out") {
            options.menuOut = pathFromUtf8(value);
        } else {
            options.moonOut = pathFromUtf8(value);
        }
    }
    if (!options.help && !options.version && !options.describe && !options.wantsPictures()) {
        error = "nothing to do: give --out, --earth-out, --moon-out, --menu-out or --describe";
        return false;
    }
    return true;
}

std::string snapshotUsage() {
    return "usage: horavel-snapshot [--at TIME] [--unit U] [--earth-texture PATH] [--moon-texture PATH]\n"
           "                        [--out PNG] [--earth-out PNG] [--moon-out PNG] [--menu-out PNG] [--describe]\n"
           "       horavel-snapshot --version | --help\n"
           "  --at TIME            the moment, ISO-8601 with Z or an offset, e.g. 2000-01-01T12:00:00Z\n"
           "                       or 2000-01-01T13:00:00.5+01:00 (default: now)\n"
           "  --unit U             layout unit in pixels, 1 to 500 (default 28); the globes are 14U x 14U,\n"
           "                       two columns wider for an odd U\n"
           "  --earth-texture PATH Earth map (default: Earth.png here, else beside the program,\n"
           "                       else in ../share/horavel beside the program's folder)\n"
           "  --moon-texture PATH  Moon map (default: Moon.png, found the same way)\n"
           "  --out PNG            write the whole window picture, 7U x 16U: the clock above the calendar,\n"
           "                       in local time by the TZ environment variable\n"
           "  --earth-out PNG      write the Earth as seen from the Sun\n"
           "  --moon-out PNG       write the Moon as seen from the Earth\n"
           "  --menu-out PNG       write the clock's menu as its X11 window shows it at 96 DPI, opened on a\n"
           "                       window of unit U that is not on top and not started at login\n"
           "  --describe           print the positions, the sub-solar points and the Moon's phase as JSON\n"
           "  --version            print the version\n"
           "  --help               print this text\n";
}
