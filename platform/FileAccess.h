#pragma once

#include "platform/Result.h"

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
    Read = 0,        // a regular file: its first bytes are in bytes
    Missing = 1,     // nothing there
    NotRegular = 2,  // a folder, a pipe, a device or a socket: left unopened or unread
};

// What stands at a path, and the bytes read when it is a regular file.
struct FileBytes {
    FileRead found = FileRead::Missing;
    std::string bytes;  // empty unless found is Read
};

// The first maxBytes bytes of the regular file at path (following links), as
// they stand, or that nothing or no regular file is there. Opening never
// waits: a FIFO without a writer is reported, not waited on. A failure is a
// regular file that could not be opened or read, with the system's words for
// why.
Result<FileBytes> readRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// Reads everything a stream gives until it ends, at most maxBytes: standard
// input for "-", else what stands at path, a pipe included, opened as it is, so
// that a FIFO waits for its writer. Only for a stream the user named to be read
// so. Fails, saying why in a few words, when it cannot be opened or read, or
// gives more than maxBytes.
Result<std::string> readWholeStream(const std::filesystem::path& path, std::size_t maxBytes);

// Writes bytes as the whole file at path. A regular file (or a link to one, or
// nothing yet) is replaced in one step by a file written beside its target and
// renamed over it, so that a failure leaves it as it was and links stay links.
// Anything else that accepts writing (a device, a pipe, standard output) is
// written in place, and left where it stands should that fail. Nothing that
// was at path is ever removed. On failure the reason says why in a few words.
Result<> writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

// True when path itself is a symbolic link (on Windows, a junction too),
// whatever it leads to; false for anything else and for nothing there.
bool isSymbolicLink(const std::filesystem::path& path);

// True when path (following links) names a regular file or nothing at all:
// what a file that is replaced whole may stand in place of.
bool regularOrAbsent(const std::filesystem::path& path);

}  // namespace platform
