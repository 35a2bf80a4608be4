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

// The options' flags in the ninth field.
constexpr std::int32_t mondayFirstFlag = 1;
constexpr std::int32_t earthshineFlag = 2;

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

// The bytes of a settings file as text: a UTF-8 byte-order mark skipped, and
// UTF-16 with its mark (as some editors and shells write text) taken unit by
// unit, whatever lies outside ASCII read as '?', which no field holds.
std::string settingsText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return std::string(bytes.substr(3));
    }
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (!littleEndian && !bytes.starts_with("\xFE\xFF")) {
        return std::string(bytes);
    }
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
        const auto high = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
        text += high == 0 && low < 0x80 ? static_cast<char>(low) : '?';
    }
    return text;
}

// The first line of a text, without its end (CR LF on Windows).
std::string_view firstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

// Whether a line is one the clock wrote, or could have: its first three fields
// are whole numbers.
bool isSettingsLine(std::string_view line) {
    const std::string text(line.substr(0, settingsLineLimit));
    const char* cursor = text.c_str();
    std::int32_t field = 0;
    return scanField(cursor, field) && scanField(cursor, field) && scanField(cursor, field);
}

// Bytes enough for a line of settingsLineLimit characters in UTF-16 with its mark.
constexpr std::size_t settingsReadLimit = 2 * settingsLineLimit + 4;

// A settings file that is a symbolic link is followed only to the clock's own
// kind of file: none yet (a dangling link, whose target is made), or a regular
// file that is empty or begins with a settings line. Anything else it leads to
// is another file of the user's, never overwritten: a failure then, saying
// why.
Result<> linkLeadsToSettings(const std::filesystem::path& link) {
    const Result<platform::FileBytes> file = platform::readRegularFile(link, settingsReadLimit);
    if (!file) {
        return failure(file.error());
    }
    switch (file->found) {
    case platform::FileRead::Missing:
        return {};
    case platform::FileRead::NotRegular:
        return failure("it is not a regular file");
    case platform::FileRead::Read:
        break;
    }
    // White space alone counts as empty only when it is the whole file.
    const std::string text = settingsText(file->bytes);
    const bool empty =
        file->bytes.size() < settingsReadLimit && text.find_first_not_of(" \t\r\n") == std::string::npos;
    if (empty || isSettingsLine(firstLine(text))) {
        return {};
    }
    return failure("it is a link to " + platform::utf8FromPath(platform::linkTarget(link)) +
                   ", which holds no settings line, so that file is left as it is");
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
    const bool desktopScanned = onTopScanned && scanField(cursor, corner) && scanField(cursor, desktop.marginXPx) &&
                                scanField(cursor, desktop.marginYPx);
    if (desktopScanned && corner >= static_cast<std::int32_t>(ScreenCorner::TopLeft) &&
        corner <= static_cast<std::int32_t>(ScreenCorner::BottomRight) && desktop.marginXPx >= 0 &&
        desktop.marginXPx <= largestDesktopMarginPx && desktop.marginYPx >= 0 &&
        desktop.marginYPx <= largestDesktopMarginPx) {
        desktop.corner = static_cast<ScreenCorner>(corner);
        settings.setDesktop(desktop);
    }
    std::int32_t flags = 0;
    if (desktopScanned && scanField(cursor, flags)) {
        settings.options.firstWeekday = (flags & mondayFirstFlag) != 0 ? FirstWeekday::Monday : FirstWeekday::Sunday;
        settings.options.earthshine = (flags & earthshineFlag) != 0;
    }
    return settings;
}

std::string formatSettingsLine(const Settings& settings) {
    char line[120];
    const std::int32_t flags = (settings.options.firstWeekday == FirstWeekday::Monday ? mondayFirstFlag : 0) |
                               (settings.options.earthshine ? earthshineFlag : 0);
    if (flags != 0) {
        // An ordinary window's desktop fields read 0 0 0, which no reader takes for a place.
        const DesktopPlace desktop = settings.desktopCorner == ScreenCorner::None ? DesktopPlace{} : settings.desktop();
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld %d %ld %ld %ld %ld\n", static_cast<long>(settings.left),
                      static_cast<long>(settings.top), static_cast<long>(settings.unit),
                      static_cast<long>(settings.dpi), settings.alwaysOnTop ? 1 : 0, static_cast<long>(desktop.corner),
                      static_cast<long>(desktop.marginXPx), static_cast<long>(desktop.marginYPx),
                      static_cast<long>(flags));
    } else if (settings.desktopCorner != ScreenCorner::None) {
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

std::filesystem::path zoneSettingsFolder(const std::filesystem::path& userFolder, std::string_view zone) {
    if (userFolder.empty() || zone.empty()) {
        return userFolder;
    }
    return userFolder / "Zones" / std::filesystem::path(std::u8string(zone.begin(), zone.end()));
}

std::filesystem::path settingsFilePath(const std::filesystem::path& folder) {
    return folder / "Settings.txt";
}

std::optional<Settings> readSettingsFile(const std::filesystem::path& folder, const Settings& defaults) {
    if (folder.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path path = settingsFilePath(folder);
    const Result<platform::FileBytes> file = platform::readRegularFile(path, settingsReadLimit);
    if (!file || file->found == platform::FileRead::Missing) {
        return std::nullopt;
    }
    if (file->found == platform::FileRead::NotRegular) {
        // A FIFO, a device or a folder: never waited on or read.
        std::fprintf(stderr, "Horavel: %s is not a regular file; the settings are the defaults\n",
                     platform::utf8FromPath(path).c_str());
        return std::nullopt;
    }
    return parseSettingsLine(firstLine(settingsText(file->bytes)), defaults);
}

Result<> writeSettingsFile(const std::filesystem::path& folder, const Settings& settings) {
    if (folder.empty()) {
        return failure("there is no settings folder");
    }
    // A FIFO or a device in the file's place (or at the end of its link) is
    // neither replaced nor written into.
    const std::filesystem::path path = settingsFilePath(folder);
    if (!platform::regularOrAbsent(path)) {
        return failure("it is not a regular file");
    }
    if (platform::isSymbolicLink(path)) {
        if (Result<> followed = linkLeadsToSettings(path); !followed) {
            return followed;
        }
    }
    return platform::replaceTextFile(path, formatSettingsLine(settings));
}
