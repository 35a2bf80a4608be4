#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What the clock remembers between runs: where the outer window stood and the
// layout unit.
struct Settings {
    std::int32_t left = 0;  // outer window left edge, screen pixels
    std::int32_t top = 0;   // outer window top edge, screen pixels
    std::int32_t unit = 28; // layout unit U, pixels
    friend bool operator==(const Settings&, const Settings&) = default;
};

// A unit read back from the file is trusted only within these bounds, pixels; a
// value outside them (0, a negative or an absurd number from a damaged file) is
// treated as absent.
inline constexpr std::int32_t smallestSavedUnit = 8;
inline constexpr std::int32_t largestSavedUnit = 200;

// The file's one line is at most this many characters; more is ignored.
inline constexpr std::size_t settingsLineLimit = 127;

// Scans "left top unit" as three decimal integers separated by white space. The
// scan stops at the first field that is not a number or does not fit 32 bits;
// that field and the ones after it keep the defaults. A unit outside the sane
// bounds keeps the default unit.
Settings parseSettingsLine(std::string_view line, const Settings& defaults);

// The line written to the file, "left top unit" and a line end.
std::string formatSettingsLine(const Settings& settings);

// The settings file inside a settings folder.
std::filesystem::path settingsFilePath(const std::filesystem::path& folder);

// Reads the first line of the settings file in the folder, as parseSettingsLine
// reads it; none when there is no such file or it cannot be read.
std::optional<Settings> readSettingsFile(const std::filesystem::path& folder, const Settings& defaults);

// Replaces the settings file in the folder, all or nothing: 1 when the new file
// is in place, 0 when it could not be written (no folder, no permission, a full
// disk), the old file then left as it was.
std::int32_t writeSettingsFile(const std::filesystem::path& folder, const Settings& settings);
