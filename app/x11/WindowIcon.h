#pragma once

#include <cstdint>
#include <span>

namespace shell {

// The program's icon as _NET_WM_ICON holds it, built into the program (the
// build draws it with horavel-icon): for each size its width and height in
// pixels, then its pixels as ARGB with straight alpha, top row first.
std::span<const std::uint32_t> windowIconCardinals();

}  // namespace shell
