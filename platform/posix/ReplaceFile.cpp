#include "platform/ReplaceFile.h"

#include "platform/FileAccess.h"
#include "platform/common/SystemError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace platform {

namespace {

// Writes every byte, going on after a short write or an interrupted one.
bool writeAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable: the folder's entry for the new file.
void syncFolder(const std::filesystem::path& folder) {
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

Result<> replaceFile(const std::filesystem::path& linkOrFile, std::initializer_list<std::string_view> pieces) {
    return replaceFileItself(linkTarget(linkOrFile), pieces);
}

Result<> replaceFileItself(const std::filesystem::path& path, std::initializer_list<std::string_view> pieces) {
    // A name of this process's own, so that two clocks saving at once never
    // write into the same temporary file.
    std::filesystem::path temporary = path;
    temporary += "." + std::to_string(::getpid()) + ".tmp";
    // Whatever a crash left at that name goes first (a link itself, not what it
    // leads to), and the new file is made there afresh: nothing standing there
    // is followed, truncated or waited on.
    ::unlink(temporary.c_str());
    const int descriptor =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return failure(systemError());
    }
    bool written = true;
    for (const std::string_view piece : pieces) {
        written = written && writeAll(descriptor, piece);
    }
    written = written && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = systemError();
        ::unlink(temporary.c_str());
        return failure(reason);
    }
    syncFolder(path.parent_path());
    return {};
}

Result<> replaceTextFile(const std::filesystem::path& path, std::string_view text) {
    return replaceFile(path, {text});
}

}  // namespace platform
