#pragma once

#include <filesystem>

struct FaceState;

// Writes the window's picture as PNG, 7U × 16U pixels, exactly as the window
// paints it: the clock canvas's display on top, the calendar canvas's below.
// false when the surfaces are missing or the file could not be written.
bool writeWindowPicture(const FaceState& face, const std::filesystem::path& path);
