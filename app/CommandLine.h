#pragma once

#include <string>
#include <vector>

// What the clock's command line asks for, read the same way by every entry.
// Without arguments the clock runs; --help and --version answer with a text and
// end; anything else is refused with one line.
struct CommandLineAnswer {
    bool runsClock = true;     // no arguments: open the window
    int exitCode = 0;          // otherwise end with this status after writing text:
    std::string text;          // the usage, the version or the refusal, ending with a line end
    bool isError = false;      // the refusal, for standard error
};

// The status of a command line the clock refuses.
inline constexpr int badArgumentsExitCode = 2;

// Reads the arguments after the program's name, UTF-8. An unknown option or a
// stray argument is refused, naming the first one, whatever else is given;
// otherwise --help wins over --version.
CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments);
