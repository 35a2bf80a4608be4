#pragma once

#include <filesystem>

// Starting the clock with the user's session, as the desktop itself does it: an
// entry in a folder that the session reads at login (no service of the clock's
// own, no registry). On Linux the entry is a desktop entry file,
// com.brantolm.Horavel.desktop, in the XDG autostart folder; on Windows a
// shortcut, Horavel.lnk, in the user's Startup folder.
namespace platform {

// The folder the session starts entries from: $XDG_CONFIG_HOME/autostart
// (~/.config/autostart when unset), or the user's Startup folder. Empty when the
// system names none.
std::filesystem::path autostartFolder();

// The clock's entry in an autostart folder.
std::filesystem::path autostartEntry(const std::filesystem::path& folder);

// Whether the folder holds the clock's entry and it starts program, this very
// file (an entry left by a copy of the clock elsewhere does not count).
bool autostartStarts(const std::filesystem::path& folder, const std::filesystem::path& program);

// Makes the entry that starts program, the folder created when missing, replacing
// an entry of the same name that starts something else. True when it is in place.
[[nodiscard]] bool addAutostart(const std::filesystem::path& folder, const std::filesystem::path& program);

// Removes the clock's entry when it starts program; an entry that starts
// something else is left alone. True when no entry starting program remains.
[[nodiscard]] bool removeAutostart(const std::filesystem::path& folder, const std::filesystem::path& program);

}  // namespace platform
