#pragma once

#include "platform/Result.h"

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace platform {

// Replaces the file at path with text, all or nothing. The text goes to a new
// file beside it, each '\n' written as the platform writes line ends in text
// files (CR LF on Windows), and is made durable before that file is renamed over
// the old one in one step: a crash or a power cut leaves either the old file or
// the new one, never a truncated one. A symbolic link at path stays a link: the
// file it leads to is replaced, in that file's own folder, and made when the
// link dangles. On failure the old file is as it was, no temporary file is left
// behind, and the reason is the system's words for what went wrong.
Result<> replaceTextFile(const std::filesystem::path& path, std::string_view text);

// The same for bytes written as they stand, the pieces one after the other.
Result<> replaceFile(const std::filesystem::path& path, std::initializer_list<std::string_view> pieces);

// The same for the path itself: a symbolic link standing there is replaced by
// the new file, never followed, for a file that must be the program's own.
Result<> replaceFileItself(const std::filesystem::path& path, std::initializer_list<std::string_view> pieces);

}  // namespace platform
