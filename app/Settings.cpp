#include "app/Settings.h"

#include "app/Layout.h"

#include "platform/FileAccess.h"
#include "platform/Messages.h"
#include "platform/ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Scans one decimal integer as "%ld" would, after optional white space. False when
// there is no number or it does not fit 32 bits.
bool scanField(const char*& cursor, std::int32_t& value) {
    char* end = nullptr;
    errno = 0;
    const long scanned = std::strtol(cursor, &end, 10);
    if (end == cursor || errno == ERANGE || !std::in_range<std::int32_t>(scanned)) {
        return false;
    }
    cursor = end;
    value = static_cast<std::int32_t>(scanned);
    return true;
}

}  // namespace

Settings parseSettingsLine(std::string_view line, const Settings& defaults) {
    const std::string text(line.substr(0, settingsLineLimit));
    const char* cursor = text.c_str();
    Settings settings = defaults;
    std::int32_t unit = defaults.unit;
    if (!scanField(cursor, settings.left) || !scanField(cursor, settings.top) ||
        !scanField(cursor, unit) || unit < smallestWindowUnit || unit > largestWindowUnit) {
        return settings;
    }
    settings.unit = unit;
    std::int32_t dpi = baseDpi;
    const bool dpiScanned = scanField(cursor, dpi);
    settings.dpi = dpiScanned && dpi >= smallestSavedDpi && dpi <= largestSavedDpi ? dpi : baseDpi;
    std::int32_t onTop = 0;
    const bool onTopScanned = dpiScanned && scanField(cursor, onTop);
    settings.alwaysOnTop = onTopScanned && onTop == 1;
    std::int32_t corner = 0;
    DesktopPlace desktop;
    if (onTopScanned && scanField(cursor, corner) && scanField(cursor, desktop.marginXPx) &&
        scanField(cursor, desktop.marginYPx) && corner >= static_cast<std::int32_t>(ScreenCorner::TopLeft) &&
        corner <= static_cast<std::int32_t>(ScreenCorner::BottomRight) && desktop.marginXPx >= 0 &&
        desktop.marginXPx <= largestDesktopMarginPx && desktop.marginYPx >= 0 &&
        desktop.marginYPx <= largestDesktopMarginPx) {
        desktop.corner = static_cast<ScreenCorner>(corner);
        settings.setDesktop(desktop);
    }
    return settings;
}

std::string formatSettingsLine(const Settings& settings) {
    char line[120];
    if (settings.desktopCorner != ScreenCorner::None) {
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld %d %ld %ld %ld\n", static_cast<long>(settings.left),
                      static_cast<long>(settings.top), static_cast<long>(settings.unit),
                      static_cast<long>(settings.dpi), settings.alwaysOnTop ? 1 : 0,
                      static_cast<long>(settings.desktopCorner), static_cast<long>(settings.desktopMarginXPx),
                      static_cast<long>(settings.desktopMarginYPx));
    } else if (settings.alwaysOnTop) {
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld 1\n", static_cast<long>(settings.left),
                      static_cast<long>(settings.top), static_cast<long>(settings.unit),
                      static_cast<long>(settings.dpi));
    } else if (settings.dpi == baseDpi) {
        std::snprintf(line, sizeof line, "%ld %ld %ld\n", static_cast<long>(settings.left),
                      static_cast<long>(settings.top), static_cast<long>(settings.unit));
    } else {
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld\n", static_cast<long>(settings.left),
                      static_cast<long>(settings.top), static_cast<long>(settings.unit),
                      static_cast<long>(settings.dpi));
    }
    return line;
}

std::filesystem::path settingsFilePath(const std::filesystem::path& folder) {
    return folder / "Settings.txt";
}

std::optional<Settings> readSettingsFile(const std::filesystem::path& folder, const Settings& defaults) {
    if (folder.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path path = settingsFilePath(folder);
    std::string text;
    switch (platform::readRegularFile(path, settingsLineLimit, text)) {
    case platform::FileRead::Read:
        break;
    case platform::FileRead::NotRegular:
        // A FIFO, a device or a folder: never waited on or read.
        std::fprintf(stderr, "Horavel: %s is not a regular file; the settings are the defaults\n",
                     platform::utf8FromPath(path).c_str());
        return std::nullopt;
    default:
        return std::nullopt;
    }
    // The first line, without its end (CR LF on Windows).
    return parseSettingsLine(text.substr(0, text.find_first_of("\r\n")), defaults);
}

std::int32_t writeSettingsFile(const std::filesystem::path& folder, const Settings& settings, std::string& failure) {
    if (folder.empty()) {
        failure = "there is no settings folder";
        return 0;
    }
    // A FIFO or a device in the file's place (or at the end of its link) is
    // neither replaced nor written into.
    if (!platform::regularOrAbsent(settingsFilePath(folder))) {
        failure = "it is not a regular file";
        return 0;
    }
    if (!platform::replaceTextFile(settingsFilePath(folder), formatSettingsLine(settings))) {
        failure = platform::lastFileError();
        return 0;
    }
    return 1;
}
