#include "platform/ProcessResources.h"

#include <unistd.h>

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

}  // namespace platform
