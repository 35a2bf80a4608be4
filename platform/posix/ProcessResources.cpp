#include "platform/ProcessResources.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include <fstream>

namespace platform {

std::optional<std::uint64_t> residentMemoryBytes() {
    // The second field of statm is the resident set now, in pages; getrusage would
    // give only its peak.
    std::ifstream statm("/proc/self/statm");
    std::uint64_t totalPages = 0;
    std::uint64_t residentPages = 0;
    if (!(statm >> totalPages >> residentPages)) {
        return std::nullopt;
    }
    const long pageBytes = sysconf(_SC_PAGESIZE);
    if (pageBytes <= 0) {
        return std::nullopt;
    }
    return residentPages * static_cast<std::uint64_t>(pageBytes);
}

std::optional<std::uint32_t> gdiObjectsInUse() { return std::nullopt; }

void preferLargePages(void* start, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    // The advice takes whole pages: the large pages that lie wholly inside.
    constexpr std::uintptr_t largePage = std::uintptr_t{2} << 20;
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + largePage - 1) & ~(largePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(largePage - 1);
    if (start != nullptr && end > first) {
        // A refusal (a kernel without them) leaves the memory as it was.
        static_cast<void>(madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE));
    }
#else
    static_cast<void>(start);
    static_cast<void>(bytes);
#endif
}

}  // namespace platform
