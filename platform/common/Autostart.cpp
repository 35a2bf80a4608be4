#include "platform/Autostart.h"

#include "platform/FileAccess.h"
#include "platform/common/AutostartEntryFile.h"

#include <system_error>

// Deciding whose the entry is, and so whether it may be written or removed, is
// the same on every system: only reading and writing the entry differ.
namespace platform {

namespace {

// Why an entry that is not the clock's own is left alone.
std::string leftAlone(AutostartEntry entry) {
    switch (entry) {
    case AutostartEntry::NotAFile:
        return "it is not a regular file (a link, a folder or a pipe), so it is left as it is";
    case AutostartEntry::Unreadable:
        return "it cannot be read, so it is left as it is";
    default:
        return "it starts another program, so it is left as it is";
    }
}

}  // namespace

AutostartEntry autostartEntryFor(const std::filesystem::path& folder, const std::filesystem::path& program,
                                 std::string_view zone) {
    if (folder.empty()) {
        return AutostartEntry::Absent;
    }
    const std::filesystem::path entry = autostartEntry(folder, zone);
    // A link first, dangling or not: not every system's library tells one.
    if (isSymbolicLink(entry)) {
        return AutostartEntry::NotAFile;
    }
    std::error_code error;
    const std::filesystem::file_type type = std::filesystem::symlink_status(entry, error).type();
    if (type == std::filesystem::file_type::not_found) {
        return AutostartEntry::Absent;
    }
    if (error) {
        return AutostartEntry::Unreadable;
    }
    if (type != std::filesystem::file_type::regular) {
        return AutostartEntry::NotAFile;
    }
    return readAutostartEntry(entry, program, zone);
}

bool autostartStarts(const std::filesystem::path& folder, const std::filesystem::path& program,
                     std::string_view zone) {
    return autostartEntryFor(folder, program, zone) == AutostartEntry::Starts;
}

Result<> addAutostart(const std::filesystem::path& folder, const std::filesystem::path& program,
                      std::string_view zone) {
    if (folder.empty()) {
        return failure("there is no folder of programs to start at login");
    }
    if (program.empty()) {
        return failure("the system does not say where this program lies");
    }
    const AutostartEntry entry = autostartEntryFor(folder, program, zone);
    if (entry == AutostartEntry::Starts) {
        return {};
    }
    if (entry != AutostartEntry::Absent && entry != AutostartEntry::Disabled) {
        return failure(leftAlone(entry));
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (Result<> written = writeAutostartEntry(folder, program, zone); !written) {
        return written;
    }
    if (!autostartStarts(folder, program, zone)) {
        return failure("it was written but does not read back as starting this program");
    }
    return {};
}

Result<> removeAutostart(const std::filesystem::path& folder, const std::filesystem::path& program,
                         std::string_view zone) {
    if (!autostartStarts(folder, program, zone)) {
        return {};
    }
    std::error_code error;
    std::filesystem::remove(autostartEntry(folder, zone), error);
    if (autostartStarts(folder, program, zone)) {
        return failure(error ? error.message() : "it is still there");
    }
    return {};
}

}  // namespace platform
