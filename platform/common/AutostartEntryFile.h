#pragma once

#include <filesystem>
#include <string>

namespace platform {

// Writes the entry that starts program over whatever regular file or nothing
// stands at the clock's entry in folder, each system its own way: addAutostart
// has made sure it is the clock's to write. False with a reason in a few words
// on failure.
[[nodiscard]] bool writeAutostartEntry(const std::filesystem::path& folder, const std::filesystem::path& program,
                                       std::string& reason);

}  // namespace platform
