#include "platform/ProcessResources.h"

#include <windows.h>

#include <psapi.h>

namespace platform {

std::optional<std::uint64_t> residentMemoryBytes() {
    // With PSAPI version 2 this is K32GetProcessMemoryInfo, in kernel32 itself.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(counters.WorkingSetSize);
}

std::optional<std::uint32_t> gdiObjectsInUse() {
    return static_cast<std::uint32_t>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// Large pages on Windows come only from VirtualAlloc, to a process holding the
// privilege to lock pages in memory, which an ordinary user's has not.
void preferLargePages(void*, std::size_t) {}

}  // namespace platform
