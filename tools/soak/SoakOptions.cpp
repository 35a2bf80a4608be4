#include "SoakOptions.h"

#include "tools/common/IsoTime.h"

#include <charconv>
#include <string_view>

namespace {

bool parseHours(std::string_view text, std::int32_t& hours) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > longestSoakHours) {
        return false;
    }
    hours = value;
    return true;
}

}  // namespace

bool parseSoakOptions(int argc, const char* const* argv, SoakOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name != "--hours" && name != "--at") {
            error = "unknown argument '" + std::string(name) + "'";
            return false;
        }
        if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
            error = std::string(name) + " needs a value";
            return false;
        }
        const std::string_view value = argv[++i];
        if (name == "--hours") {
            if (!parseHours(value, options.hours)) {
                error = "--hours wants a whole number of simulated hours from 1 to " +
                        std::to_string(longestSoakHours) + ", not '" + std::string(value) + "'";
                return false;
            }
        } else if (!parseIsoTime(value, options.startUtc)) {
            error = "--at wants an ISO-8601 time from 1601 on with Z or an offset, such as 2026-10-25T00:30:00Z, not '" +
                    std::string(value) + "'";
            return false;
        }
    }
    return true;
}

std::string soakUsage() {
    return "usage: horavel-soak [--hours N] [--at TIME]\n"
           "  Runs the clock's drawing code on simulated time, four ticks a second, with a\n"
           "  rebuild at a new layout unit every hour (28, 40, 20, 33 in turn), and prints the\n"
           "  resident memory every simulated hour (1 MB = 1048576 bytes). Fails when the\n"
           "  memory at the end exceeds the first reading at the same unit by more than 1 MB,\n"
           "  when the window picture of a fixed moment differs after the run from before it,\n"
           "  or when no daylight-saving change was crossed. Local time follows TZ.\n"
           "  --hours N   simulated hours, 1 to " +
           std::to_string(longestSoakHours) +
           " (default 1)\n"
           "  --at TIME   the simulated start, ISO-8601 with Z or an offset (default\n"
           "              2026-10-25T00:30:00Z, half an hour before summer time ends in\n"
           "              Europe: run it with TZ=Europe/Berlin, for example)\n"
           "  --help      print this text\n";
}
