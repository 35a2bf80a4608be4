#include "platform/FileAccess.h"

#include "platform/ReplaceFile.h"
#include "platform/common/BinaryStream.h"
#include "platform/common/SystemError.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

Result<FileBytes> readRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // Non-blocking, so that a FIFO opens at once instead of waiting for a writer.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return FileBytes{FileRead::Missing, {}};
        }
        // A folder opens for reading; a socket does not, and says so.
        if (errno == ENXIO || errno == EISDIR) {
            return FileBytes{FileRead::NotRegular, {}};
        }
        return failure(systemError());
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return FileBytes{FileRead::NotRegular, {}};
    }
    FileBytes file{FileRead::Read, std::string(maxBytes, '\0')};
    std::size_t filled = 0;
    while (filled < maxBytes) {
        const ssize_t got = ::read(descriptor, file.bytes.data() + filled, maxBytes - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const std::string reason = systemError();
            ::close(descriptor);
            return failure(reason);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    file.bytes.resize(filled);
    ::close(descriptor);
    return file;
}

namespace {

// Writes bytes into what stands at path, without creating, truncating a
// device's contents or removing anything. A reader that went away fails the
// write instead of ending the program.
Result<> writeInPlace(const std::filesystem::path& path, std::string_view bytes) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        return failure(systemError());
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
    const std::string writeFailure = complete ? std::string() : systemError();
    ::sigaction(SIGPIPE, &previous, nullptr);
    const bool closed = ::close(descriptor) == 0;
    if (!complete) {
        return failure(writeFailure);
    }
    if (!closed) {
        return failure(systemError());
    }
    return {};
}

}  // namespace

Result<> writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    struct stat status {};
    const bool inPlace = ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
    if (inPlace && S_ISDIR(status.st_mode)) {
        return failure("it is a folder");
    }
    return inPlace ? writeInPlace(path, bytes) : replaceFile(path, {bytes});
}

bool isSymbolicLink(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

std::string systemError() { return std::strerror(errno); }

std::FILE* openBinaryStream(const std::filesystem::path& path) {
    return path == "-" ? stdin : std::fopen(path.c_str(), "rb");
}

}  // namespace platform
