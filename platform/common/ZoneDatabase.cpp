#include "platform/ZoneDatabase.h"

#include "platform/FileAccess.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// The database's longest name has 32 characters
// (America/Argentina/ComodRivadavia).
constexpr std::size_t longestNameCharacters = 128;
// Zone files have a few kilobytes at most.
constexpr std::size_t largestZoneFileBytes = 256 * 1024;

bool allowedInName(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '_' ||
           c == '+' || c == '-';
}

// Why name cannot be a zone's, or nothing when it can. Without a dot no part
// can be . or .., and without a backslash or a colon no Windows path can be
// written; only a path from the root remains to be told apart.
std::string refusal(std::string_view name) {
    if (name.empty()) {
        return "the time zone's name is empty";
    }
    if (name.size() > longestNameCharacters) {
        return "a time zone's name has at most 128 characters";
    }
    if (!std::all_of(name.begin(), name.end(), allowedInName)) {
        return "a time zone's name holds only letters, digits and / _ + - (as Europe/Paris)";
    }
    if (name.front() == '/') {
        return "a time zone is named within the zone database, not by a path: " + std::string(name);
    }
    if (name.back() == '/' || name.find("//") != std::string_view::npos) {
        return "a time zone's name has no empty part between slashes: " + std::string(name);
    }
    // The copies that count leap seconds give their changes at moments about
    // half a minute off a computer's clock, which does not count them, and the
    // Windows programs carry neither copy: the plain names are the zones.
    if (name.starts_with("right/") || name.starts_with("posix/")) {
        return "a time zone is named without right/ or posix/ in front, as Europe/Paris: " + std::string(name);
    }
    return {};
}

std::string displayed(const std::filesystem::path& folder) {
    const std::u8string text = folder.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

Result<std::string> readZoneFile(const std::filesystem::path& folder, std::string_view name) {
    if (std::string refused = refusal(name); !refused.empty()) {
        return failure(std::move(refused));
    }
    const std::string nameText(name);
    Result<FileBytes> file = readRegularFile(folder / nameText, largestZoneFileBytes + 1);
    if (!file) {
        return failure("the zone file of " + nameText + " cannot be read: " + file.error());
    }
    switch (file->found) {
    case FileRead::Read:
        break;
    case FileRead::Missing:
        return failure("no time zone " + nameText + " in " + displayed(folder));
    case FileRead::NotRegular:
        return failure(nameText + " in " + displayed(folder) + " is not a zone file");
    }
    if (!spelledAsOnDisk(folder, name)) {
        return failure("no time zone " + nameText + " in " + displayed(folder) +
                       " (names are written as the database writes them, as Asia/Tokyo)");
    }
    if (file->bytes.size() > largestZoneFileBytes) {
        return failure("the zone file of " + nameText + " is too large to be one");
    }
    return std::move(file->bytes);
}

}  // namespace platform
