#pragma once

#include "app/ClockApp.h"

#include <string>
#include <vector>

// What the clock's command line asks for, read the same way by every entry.
// Without arguments, or with --zone NAME, the clock runs; --help and --version
// answer with a text and end; anything else is refused with one line.
struct CommandLineAnswer {
    bool runsClock = true;     // no arguments or a zone: open the window
    std::string zone;          // the IANA zone the clock shows (--zone); empty for local time
    int exitCode = 0;          // otherwise end with this status after writing text:
    std::string text;          // the usage, the version or the refusal, ending with a line end
    bool isError = false;      // the refusal, for standard error
};

// The status of a command line the clock refuses.
inline constexpr int badArgumentsExitCode = 2;

// Reads the arguments after the program's name, UTF-8. An unknown option or a
// stray argument is refused, naming the first one, whatever else is given;
// otherwise --help wins over --version, and either over --zone. Whether the zone
// exists is for the entry to find out (refusedZone).
CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments);

// How the clock program starts for an answer that runs it: losses told, and the
// zone of --zone read from the zone database. A zone the database does not hold
// turns the answer into its refusal, naming it, with status 2.
StartOptions clockStartOptions(CommandLineAnswer& answer);
