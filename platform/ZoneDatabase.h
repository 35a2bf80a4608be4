#pragma once

#include "platform/Result.h"

#include <filesystem>
#include <string>
#include <string_view>

// The zone database: one compiled zone file (TZif) per time zone, named by
// the zone's name within one folder ("Asia/Tokyo", "Etc/GMT+5").
namespace platform {

// The folder of the zone database this program reads. On Linux the system's:
// $TZDIR when set, else /usr/share/zoneinfo. On Windows the one shipped with
// the program: the folder zoneinfo beside it.
std::filesystem::path zoneDatabaseFolder();

// The bytes of the zone file of the zone named name in the database in
// folder, read as they stand. The name is checked before the disk is touched:
// not empty, at most 128 characters, not a path from the root, parts between
// slashes that are neither empty nor . or .., and only letters, digits and
// / _ + -, so that it cannot name anything outside folder. The file must be a
// regular file of at most 256 KiB, opened without waiting (platform/FileAccess.h).
// Names under right/ or posix/ (copies of the zones) are refused too, and a
// name must be written in the database's own case even where the file system
// does not tell cases apart (Windows), so that one zone has one name.
// Fails, with the reason in one line, when the name is refused or the file is
// missing, not a regular file, too large or unreadable.
Result<std::string> readZoneFile(const std::filesystem::path& folder, std::string_view name);

// Whether the file of name in folder is spelled on disk with name's very
// letters, case included: always on a file system that tells cases apart.
bool spelledAsOnDisk(const std::filesystem::path& folder, std::string_view name);

}  // namespace platform
