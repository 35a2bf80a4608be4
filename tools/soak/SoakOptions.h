#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <string>

// 2026-10-25 00:30 UT as 100-ns ticks since 1601: half an hour before summer
// time ends in the European Union (01:00 UT), so that even a one-hour run in
// such a zone crosses the change.
inline constexpr std::uint64_t defaultSoakStartTicks = 134'373'618'000'000'000ULL;

// The longest run accepted, simulated hours: a leap year.
inline constexpr std::int32_t longestSoakHours = 8784;

// What the command line of horavel-soak asks for.
struct SoakOptions {
    std::int32_t hours = 1;  // --hours: simulated hours to run, 1 … longestSoakHours
    platform::FileTime startUtc = platform::FileTime::fromTicks(defaultSoakStartTicks);  // --at: where the run starts
    bool help = false;       // --help
};

// Reads the arguments after the program name. False with a one-line reason in
// error when an argument is unknown, lacks its value or has a bad value.
bool parseSoakOptions(int argc, const char* const* argv, SoakOptions& options, std::string& error);

// The usage text, several lines, ending with a line end.
std::string soakUsage();
