#pragma once

#include "platform/Autostart.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// What the regular file at entry is, each system reading its own kind of entry:
// one that starts program showing zone, with no other arguments (Starts), the
// clock's entry for it turned off (Disabled), anything else (OtherProgram), or
// Unreadable. A file that went meanwhile is Absent.
AutostartEntry readAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program,
                                  std::string_view zone);

// Writes the entry that starts program showing zone over whatever regular file
// or nothing stands at the entry of zone's clock in folder, each system its own
// way: addAutostart has made sure it is the clock's to write. The reason of a
// failure is a few words.
Result<> writeAutostartEntry(const std::filesystem::path& folder, const std::filesystem::path& program,
                             std::string_view zone);

}  // namespace platform
