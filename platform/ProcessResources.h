#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// The physical memory the running process occupies now, bytes: the resident set
// on Linux, the working set on Windows. None when the system does not say.
std::optional<std::uint64_t> residentMemoryBytes();

// The GDI objects (fonts, bitmaps, device contexts...) the running process holds
// now. None on a system without GDI. Wine answers 0 whatever is held.
std::optional<std::uint32_t> gdiObjectsInUse();

}  // namespace platform
