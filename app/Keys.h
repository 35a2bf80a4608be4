#pragma once

#include <cstdint>

// The layout unit a size key chooses: 'S' 20, 'M' 28, 'L' 40 (upper-case letters,
// as Windows numbers the keys); 0 for every other key.
std::int32_t unitForKey(char32_t upperCaseKey);

// The key that keeps the window above the others, or lets it go.
inline constexpr char32_t alwaysOnTopKey = U'T';
