#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

// The descriptor is closed as soon as the view exists: a mapping outlives it, so
// only the view and its length are kept.
namespace platform {

std::int32_t MappedFile::open(const std::filesystem::path& path) {
    close();
    position = 0;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return 0;
    }
    struct stat status {};
    // A directory opens for reading too, and an empty file cannot be mapped.
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        static_cast<std::uint64_t>(status.st_size) <= SIZE_MAX) {
        const auto bytes = static_cast<std::size_t>(status.st_size);
        void* mapped = ::mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (mapped != MAP_FAILED) {
            view = static_cast<const std::uint8_t*>(mapped);
            length = bytes;
        }
    }
    ::close(descriptor);
    return view != nullptr ? 1 : 0;
}

void MappedFile::releaseResidentPages() const {
    // The view is private and read-only, so it never holds pages of its own:
    // the dropped ones are read again from the file as it then stands. (Files
    // the clock reads this way are only ever replaced whole, by renaming.)
    if (view != nullptr) {
        ::madvise(const_cast<std::uint8_t*>(view), static_cast<std::size_t>(length), MADV_DONTNEED);
    }
}

void MappedFile::close() {
    if (view != nullptr) {
        ::munmap(const_cast<std::uint8_t*>(view), static_cast<std::size_t>(length));
        view = nullptr;
    }
    length = 0;
    file = nullptr;
    mapping = nullptr;
}

}  // namespace platform
