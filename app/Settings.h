#pragma once

#include "app/DesktopPlace.h"
#include "app/Layout.h"
#include "clockface/FaceOptions.h"
#include "platform/Result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What the clock remembers between runs: where the outer window stood, the
// layout unit, and the resolution of the screen it had that unit on, so that
// the window keeps its physical size on a screen of another resolution. Files
// written before the resolution was kept hold only the first three, and the
// resolution of 100 % (96 DPI) is what those programs drew at. Whether the
// window stays above the others came fifth. Where the window lies on the desktop,
// on the window systems that can put it there, came next: the corner (1 top
// left, 2 top right, 3 bottom left, 4 bottom right) and the margins, written
// while it lies there. What the user chose to change in the pictures came
// last: a ninth field of flags, written only when one is set.
struct Settings {
    std::int32_t left = 0;  // outer window left edge, screen pixels
    std::int32_t top = 0;   // outer window top edge, screen pixels
    std::int32_t unit = defaultUnit; // layout unit U, pixels of that screen
    std::int32_t dpi = baseDpi;      // the screen's resolution, dots per inch
    bool alwaysOnTop = false;  // the window stays above the others
    // Where the window lies on the desktop: the corner, None for an ordinary
    // window, and the margins from its edges, pixels of that screen.
    ScreenCorner desktopCorner = ScreenCorner::None;
    std::int32_t desktopMarginXPx = 0;
    std::int32_t desktopMarginYPx = 0;
    FaceOptions options{};  // the first weekday and earthshine
    DesktopPlace desktop() const { return {desktopCorner, desktopMarginXPx, desktopMarginYPx}; }
    void setDesktop(const DesktopPlace& place) {
        desktopCorner = place.corner;
        desktopMarginXPx = place.marginXPx;
        desktopMarginYPx = place.marginYPx;
    }
    friend bool operator==(const Settings&, const Settings&) = default;
};

// A unit read back from the file is trusted only within the window's bounds
// (smallestWindowUnit to largestWindowUnit, Layout.h); a value outside them (0,
// a negative or an absurd number from a damaged file) is treated as absent.
// Likewise for the resolution, dots per inch (50 % to 1000 %).
inline constexpr std::int32_t smallestSavedDpi = 48;
inline constexpr std::int32_t largestSavedDpi = 960;

// The file's one line is at most this many characters; more is ignored.
inline constexpr std::size_t settingsLineLimit = 127;

// Scans "left top unit [dpi [on-top [corner margin-x margin-y [options]]]]" as
// decimal integers separated by white space. The scan stops at the first field
// that is not a number or does not fit 32 bits; that field and the ones after
// it keep the defaults. A unit outside the sane bounds keeps the default unit
// and resolution and is not on top; a resolution outside its bounds, or none,
// is 96. The window is on top only when the fifth field is 1. The window lies
// on the desktop only when all three of the desktop's fields are there, the
// corner 1 to 4 and the margins 0 to largestDesktopMarginPx (0 0 0 stands for
// an ordinary window before options). The options are flags: 1 the week starts
// on Monday, 2 earthshine; flags the clock does not know are passed over.
Settings parseSettingsLine(std::string_view line, const Settings& defaults);

// The line written to the file, "left top unit" and a line end, with the
// resolution as a fourth field when it is not 96 or when a fifth follows, and 1
// as the fifth when the window stays on top, the desktop's corner and margins
// after those while the window lies on the desktop (0 0 0 when it does not but
// options follow), and the options' flags last when any is set: at 100 %, not
// on top, not on the desktop and without options the file reads as it always
// has. A program that reads only three to eight fields still finds the place,
// the unit, the resolution, "Always on top" and the desktop where they always
// were.
std::string formatSettingsLine(const Settings& settings);

// The folder of a clock's settings: the user's settings folder for the local
// clock, and its subfolder Zones/NAME for the clock of the IANA zone NAME, so
// that each clock keeps its place, unit and options apart. Empty when the
// user's folder is empty (no settings).
std::filesystem::path zoneSettingsFolder(const std::filesystem::path& userFolder, std::string_view zone);

// The settings file inside a settings folder.
std::filesystem::path settingsFilePath(const std::filesystem::path& folder);

// Reads the first line of the settings file in the folder, as parseSettingsLine
// reads it; none when there is no such file or it cannot be read. A UTF-8
// byte-order mark before it is skipped, and a file in UTF-16 with its mark is
// read as the same text. Only a regular file (or a link to one) is read, and
// opening it never waits: for anything else (a FIFO, a device, a folder) one
// line on standard error says so.
std::optional<Settings> readSettingsFile(const std::filesystem::path& folder, const Settings& defaults);

// Replaces the settings file in the folder, all or nothing. A failure (no
// folder, no permission, a full disk) leaves the old file as it was and says
// why. A settings file that is a symbolic link stays one: the file it leads to
// is replaced, or made when the link dangles, but only when that file is empty
// or begins with a settings line; a link to any other file leaves that file
// alone and fails.
Result<> writeSettingsFile(const std::filesystem::path& folder, const Settings& settings);
