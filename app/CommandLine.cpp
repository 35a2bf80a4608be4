#include "app/CommandLine.h"

#include "HoravelVersion.h"
#include "astro/TimeZone.h"

#include <utility>

namespace {

constexpr char usage[] =
    "usage: horavel [--zone NAME | --help | --version]\n"
    "Without an option the clock opens its window; a right-click in it opens its menu.\n"
    "  --zone NAME  show the time of the IANA zone NAME, such as Asia/Tokyo, in a clock with\n"
    "               its own place, size and options\n"
    "  --help       print this text\n"
    "  --version    print the version\n";

CommandLineAnswer refused(const std::string& why) {
    return {false, "", badArgumentsExitCode, "horavel: " + why + " (see horavel --help)\n", true};
}

}  // namespace

CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments) {
    bool help = false;
    bool version = false;
    std::string zone;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--zone" || argument.starts_with("--zone=")) {
            const bool joined = argument != "--zone";
            if (!joined && i + 1 == arguments.size()) {
                return refused("--zone needs the name of a time zone, such as Asia/Tokyo");
            }
            zone = joined ? argument.substr(7) : arguments[++i];
            if (zone.empty()) {
                return refused("--zone needs the name of a time zone, such as Asia/Tokyo");
            }
        } else {
            const char* what = argument.starts_with('-') ? "unknown option" : "unexpected argument";
            return refused(std::string(what) + " '" + argument + "'");
        }
    }
    if (help) {
        return {false, "", 0, usage, false};
    }
    if (version) {
        return {false, "", 0, std::string("horavel ") + horavelVersion + "\n", false};
    }
    CommandLineAnswer answer;
    answer.zone = zone;
    return answer;
}

StartOptions clockStartOptions(CommandLineAnswer& answer) {
    StartOptions options;
    options.tellLosses = true;
    if (!answer.runsClock || answer.zone.empty()) {
        return options;
    }
    if (Result<TimeZone> rules = loadTimeZone(answer.zone)) {
        options.zone = NamedZone{answer.zone, std::move(*rules)};
    } else {
        answer = {false, answer.zone, badArgumentsExitCode,
                  "horavel: unknown time zone '" + answer.zone + "': " + rules.error() + "\n", true};
    }
    return options;
}
