#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

// The physical memory the running process occupies now, bytes: the resident set
// on Linux, the working set on Windows. None when the system does not say.
std::optional<std::uint64_t> residentMemoryBytes();

// The GDI objects (fonts, bitmaps, device contexts...) the running process holds
// now. None on a system without GDI. Wine answers 0 whatever is held.
std::optional<std::uint32_t> gdiObjectsInUse();

// Asks the system to back the memory from start on, bytes long, with large
// pages (2 MiB) where whole ones fit, when it is first touched: a buffer of tens
// of megabytes then costs a few page faults instead of thousands. Only a hint:
// where the system offers no such pages to an ordinary process (Windows), or
// has none free, the memory is backed as usual.
void preferLargePages(void* start, std::size_t bytes);

}  // namespace platform
