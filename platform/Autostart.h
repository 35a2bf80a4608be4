#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Starting the clock with the user's session, as the desktop itself does it: an
// entry in a folder that the session reads at login (no service of the clock's
// own, no registry). On Linux the entry is a desktop entry file,
// com.brantolm.Horavel.desktop, in the XDG autostart folder; on Windows a
// shortcut, Horavel.lnk, in the user's Startup folder.
//
// A clock of a time zone (an IANA name such as Asia/Tokyo; empty for the local
// clock) has an entry of its own, which starts the program with --zone and the
// zone's name: com.brantolm.Horavel.Zone.Asia.Tokyo.desktop, or
// "Horavel (Asia.Tokyo).lnk". Each zone's entry and the local clock's are
// independent of one another, and no two zones share an entry's name.
//
// The clock writes and removes only an entry of its own: a regular file that
// starts this very program with this clock's arguments. Anything else of that
// name (a symbolic link, a FIFO, a folder, an entry that starts another program,
// a copy of the clock elsewhere or a clock of another zone) is the user's, and
// is left as it is.
namespace platform {

// What stands at the clock's entry, looked at without following a link and
// without opening anything but a regular file, which is opened without waiting.
enum class AutostartEntry : std::int32_t {
    Absent = 0,        // nothing: the clock may make its entry
    Starts = 1,        // a regular file that starts this program
    Disabled = 2,      // a regular file for this program that the desktop's settings turned off (Hidden=true)
    OtherProgram = 3,  // a regular file that starts something else, or this program with other arguments
    NotAFile = 4,      // a symbolic link, a folder, a FIFO, a device or a socket
    Unreadable = 5,    // something that cannot be looked at or read
};

// The folder the session starts entries from: $XDG_CONFIG_HOME/autostart
// (~/.config/autostart when unset), or the user's Startup folder. Empty when the
// system names none.
std::filesystem::path autostartFolder();

// The entry in an autostart folder of the clock of zone (empty: local time).
std::filesystem::path autostartEntry(const std::filesystem::path& folder, std::string_view zone);

// What the folder holds at the entry of zone's clock, for program.
AutostartEntry autostartEntryFor(const std::filesystem::path& folder, const std::filesystem::path& program,
                                 std::string_view zone);

// Whether the folder holds the entry of zone's clock and it starts program,
// this very file, showing that zone (an entry left by a copy of the clock
// elsewhere does not count, nor one that shows another zone).
bool autostartStarts(const std::filesystem::path& folder, const std::filesystem::path& program,
                     std::string_view zone);

// Makes the entry that starts program showing zone, the folder created when
// missing; an entry of the clock's own that is turned off is replaced, anything
// else that is not the clock's is left alone. Succeeds when it is in place;
// otherwise the reason says why in a few words.
Result<> addAutostart(const std::filesystem::path& folder, const std::filesystem::path& program,
                      std::string_view zone);

// Removes the entry of zone's clock when it starts program showing zone;
// anything else is left alone. Succeeds when no such entry remains; otherwise
// the reason says why.
Result<> removeAutostart(const std::filesystem::path& folder, const std::filesystem::path& program,
                         std::string_view zone);

}  // namespace platform
