#include "platform/MappedFile.h"

#include "platform/common/MappedViews.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>

// The descriptor is closed as soon as the view exists: a mapping outlives it, so
// only the view, its length and what identifies the file are kept.
namespace platform {
namespace {

struct sigaction previousBusAction {};

// A read past the end of a file cut short while mapped raises SIGBUS. Inside a
// guarded view the whole view is replaced by private zero pages and marked
// damaged, and the read is done again on them. Any other SIGBUS goes to the
// handler that was there before, or ends the program as it would have.
void onBusError(int signal, siginfo_t* info, void* context) {
    const std::int32_t slot = views::viewAt(info->si_addr);
    if (slot >= 0) {
        void* first = const_cast<void*>(views::begin(slot));
        if (::mmap(first, views::bytes(slot), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED) {
            views::markDamaged(slot);
            return;
        }
    }
    if ((previousBusAction.sa_flags & SA_SIGINFO) != 0 && previousBusAction.sa_sigaction != nullptr) {
        previousBusAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN &&
        previousBusAction.sa_handler != nullptr) {
        previousBusAction.sa_handler(signal);
        return;
    }
    // Returning re-runs the read, which now ends the program as SIGBUS does.
    ::signal(SIGBUS, SIG_DFL);
}

void guardViews() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousBusAction);
    });
}

std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

std::int32_t MappedFile::open(const std::filesystem::path& path) {
    close();
    position = 0;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return 0;
    }
    struct stat status {};
    // A directory opens for reading too, and an empty file cannot be mapped.
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        static_cast<std::uint64_t>(status.st_size) <= SIZE_MAX) {
        const auto bytes = static_cast<std::size_t>(status.st_size);
        guardViews();
        void* mapped = ::mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (mapped != MAP_FAILED) {
            view = static_cast<const std::uint8_t*>(mapped);
            length = bytes;
            mappedPath = path;
            mappedIdentity = static_cast<std::uint64_t>(status.st_ino);
            mappedTime = nanoseconds(status.st_mtim);
            guardSlot = views::enroll(view, bytes);
        }
    }
    ::close(descriptor);
    return view != nullptr ? 1 : 0;
}

bool MappedFile::unchanged() const {
    struct stat status {};
    return view != nullptr && !views::damaged(guardSlot) && ::stat(mappedPath.c_str(), &status) == 0 &&
           static_cast<std::uint64_t>(status.st_ino) == mappedIdentity &&
           static_cast<std::uint64_t>(status.st_size) == length && nanoseconds(status.st_mtim) == mappedTime;
}

void MappedFile::releaseResidentPages() const {
    // The view is private and read-only, so it never holds pages of its own:
    // the dropped ones are read again from the file as it then stands.
    if (view != nullptr) {
        ::madvise(const_cast<std::uint8_t*>(view), static_cast<std::size_t>(length), MADV_DONTNEED);
    }
}

void MappedFile::close() {
    if (view != nullptr) {
        views::withdraw(guardSlot);
        ::munmap(const_cast<std::uint8_t*>(view), static_cast<std::size_t>(length));
        view = nullptr;
    }
    guardSlot = -1;
    length = 0;
    file = nullptr;
    mapping = nullptr;
}

}  // namespace platform
