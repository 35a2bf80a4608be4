#include "app/CommandLine.h"

#include "HoravelVersion.h"

namespace {

constexpr char usage[] =
    "usage: horavel [--help | --version]\n"
    "Without an option the clock opens its window; a right-click in it opens its menu.\n"
    "  --help     print this text\n"
    "  --version  print the version\n";

}  // namespace

CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments) {
    bool help = false;
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            help = true;
        } else if (argument != "--version") {
            const char* what = argument.starts_with('-') ? "unknown option" : "unexpected argument";
            return {false, badArgumentsExitCode,
                    std::string("horavel: ") + what + " '" + argument + "' (see horavel --help)\n", true};
        }
    }
    if (arguments.empty()) {
        return {};
    }
    if (help) {
        return {false, 0, usage, false};
    }
    return {false, 0, std::string("horavel ") + horavelVersion + "\n", false};
}
