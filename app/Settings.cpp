#include "app/Settings.h"

#include "platform/ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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
        !scanField(cursor, unit) || unit < smallestSavedUnit || unit > largestSavedUnit) {
        return settings;
    }
    settings.unit = unit;
    std::int32_t dpi = 96;
    const bool dpiScanned = scanField(cursor, dpi);
    settings.dpi = dpiScanned && dpi >= smallestSavedDpi && dpi <= largestSavedDpi ? dpi : 96;
    std::int32_t onTop = 0;
    settings.alwaysOnTop = dpiScanned && scanField(cursor, onTop) && onTop == 1;
    return settings;
}

std::string formatSettingsLine(const Settings& settings) {
    char line[80];
    if (settings.alwaysOnTop) {
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld 1\n", static_cast<long>(settings.left),
                      static_cast<long>(settings.top), static_cast<long>(settings.unit),
                      static_cast<long>(settings.dpi));
    } else if (settings.dpi == 96) {
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
    std::ifstream file(settingsFilePath(folder));
    if (!file) {
        return std::nullopt;
    }
    char line[settingsLineLimit + 1] = {};
    file.get(line, sizeof line);
    return parseSettingsLine(line, defaults);
}

std::int32_t writeSettingsFile(const std::filesystem::path& folder, const Settings& settings) {
    if (folder.empty()) {
        return 0;
    }
    return platform::replaceTextFile(settingsFilePath(folder), formatSettingsLine(settings)) ? 1 : 0;
}
