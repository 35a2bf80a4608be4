#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Reading and writing the user's files without being led astray by what stands
// at their paths: a symbolic link, a pipe, a device or a folder.
namespace platform {

// The file a path finally names: path itself, or for a symbolic link the file
// at the end of its chain, which need not exist (a dangling link names the file
// it points to). Relative links count from their own folder; a chain of more
// than 40 links, or one that cannot be read, ends where it stands.
std::filesystem::path linkTarget(const std::filesystem::path& path);

// What readRegularFile found at a path.
enum class FileRead : std::int32_t {
    Read = 0,        // a regular file: its first bytes are in text
    Missing = 1,     // nothing there
    NotRegular = 2,  // a folder, a pipe, a device or a socket: left unopened or unread
    Failed = 3,      // a regular file that could not be opened or read
};

// The first maxBytes bytes of the regular file at path (following links), as
// they stand. Opening never waits: a FIFO without a writer is reported, not
// waited on.
FileRead readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& text);

// Reads everything a stream gives until it ends, at most maxBytes: standard
// input for "-", else what stands at path, a pipe included, opened as it is, so
// that a FIFO waits for its writer. Only for a stream the user named to be read
// so. False with reason in a few words when it cannot be opened or read, or
// gives more than maxBytes.
[[nodiscard]] bool readWholeStream(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                                   std::string& reason);

// Writes bytes as the whole file at path. A regular file (or a link to one, or
// nothing yet) is replaced in one step by a file written beside its target and
// renamed over it, so that a failure leaves it as it was and links stay links.
// Anything else that accepts writing (a device, a pipe, standard output) is
// written in place, and left where it stands should that fail. Nothing that
// was at path is ever removed. On failure, reason says why in a few words.
[[nodiscard]] bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes, std::string& reason);

// True when path itself is a symbolic link (on Windows, a junction too),
// whatever it leads to; false for anything else and for nothing there.
bool isSymbolicLink(const std::filesystem::path& path);

// True when path (following links) names a regular file or nothing at all:
// what a file that is replaced whole may stand in place of.
bool regularOrAbsent(const std::filesystem::path& path);

// The system's words for the last failure of a file operation of this
// thread, for a message.
std::string lastFileError();

}  // namespace platform
