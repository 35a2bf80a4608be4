#pragma once

#include "clockface/FaceOptions.h"
#include "platform/Clock.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// What the command line of horavel-snapshot asks for.
struct SnapshotOptions {
    std::optional<platform::FileTime> atUtc;            // --at; none: the present moment
    std::int32_t unit = 28;                             // --unit, layout unit U, pixels
    std::optional<std::filesystem::path> earthTexture;  // --earth-texture; none: the default search
    std::optional<std::filesystem::path> moonTexture;   // --moon-texture
    std::optional<std::filesystem::path> earthOut;      // --earth-out: PNG of the Earth picture
    std::optional<std::filesystem::path> moonOut;       // --moon-out: PNG of the Moon picture
    std::optional<std::filesystem::path> windowOut;     // --out: PNG of the whole window picture
    std::optional<std::filesystem::path> menuOut;       // --menu-out: PNG of the menu as the window opens it
    FaceOptions faceOptions;                            // --first-weekday, --earthshine
    std::string zone;                                   // --zone: the IANA zone the clock shows; empty for local time
    bool describe = false;                              // --describe: the geometry as JSON on standard output
    bool help = false;                                  // --help
    bool version = false;                               // --version

    // True when anything has to be drawn.
    bool wantsPictures() const { return earthOut.has_value() || moonOut.has_value() || windowOut.has_value() ||
                                       menuOut.has_value(); }
};

// The smallest and largest layout unit accepted, pixels.
inline constexpr std::int32_t smallestUnit = 1;
inline constexpr std::int32_t largestUnit = 500;

// Reads the arguments after the program name. false with a one-line reason in
// error when an argument is unknown, lacks its value, has a bad value, when
// nothing is asked for, when two pictures would go to one file, or when both
// maps would read standard input.
bool parseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error);

// The usage text, several lines, ending with a line end.
std::string snapshotUsage();
