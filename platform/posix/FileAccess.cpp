#include "platform/FileAccess.h"

#include "platform/ReplaceFile.h"
#include "platform/common/BinaryStream.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

FileRead readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& text) {
    text.clear();
    // Non-blocking, so that a FIFO opens at once instead of waiting for a writer.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return FileRead::Missing;
        }
        // A folder opens for reading; a socket does not, and says so.
        return errno == ENXIO || errno == EISDIR ? FileRead::NotRegular : FileRead::Failed;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return FileRead::NotRegular;
    }
    text.resize(maxBytes);
    std::size_t filled = 0;
    while (filled < maxBytes) {
        const ssize_t got = ::read(descriptor, text.data() + filled, maxBytes - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(descriptor);
            text.clear();
            return FileRead::Failed;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    ::close(descriptor);
    return FileRead::Read;
}

namespace {

// Writes bytes into what stands at path, without creating, truncating a
// device's contents or removing anything. A reader that went away fails the
// write instead of ending the program.
bool writeInPlace(const std::filesystem::path& path, std::string_view bytes) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        return false;
    }
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &previous);
    bool complete = true;
    while (complete && !bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        complete = written > 0;
        if (complete) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    const int cause = errno;
    ::sigaction(SIGPIPE, &previous, nullptr);
    const bool closed = ::close(descriptor) == 0;
    errno = complete ? errno : cause;
    return complete && closed;
}

}  // namespace

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes, std::string& reason) {
    struct stat status {};
    const bool inPlace = ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
    if (inPlace && S_ISDIR(status.st_mode)) {
        reason = "it is a folder";
        return false;
    }
    const bool written = inPlace ? writeInPlace(path, bytes) : replaceFile(path, {bytes});
    if (!written) {
        reason = lastFileError();
    }
    return written;
}

bool isSymbolicLink(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

std::string lastFileError() { return std::strerror(errno); }

std::FILE* openBinaryStream(const std::filesystem::path& path) {
    return path == "-" ? stdin : std::fopen(path.c_str(), "rb");
}

}  // namespace platform
