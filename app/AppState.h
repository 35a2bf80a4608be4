#pragma once

#include "clockface/FaceState.h"

#include <cstdint>
#include <filesystem>

// The one record of the running clock: what the drawing code works on, plus what
// the window around it needs to keep. The window system's own handle stays with
// the window code; everything here is plain data.
struct AppState {
    FaceState face;
    std::int32_t frameWidth = 0;   // outer window width minus client width, pixels
    std::int32_t frameHeight = 0;  // outer window height minus client height, pixels
    std::int32_t windowLeft = 0;   // outer window left edge, screen pixels
    std::int32_t windowTop = 0;    // outer window top edge, screen pixels
    std::filesystem::path settingsFolder;  // empty when no settings folder could be found
};
