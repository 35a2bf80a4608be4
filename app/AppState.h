#pragma once

#include "app/Layout.h"
#include "app/Settings.h"
#include "clockface/FaceState.h"

#include <cstdint>
#include <filesystem>
#include <optional>

// The one record of the running clock: what the drawing code works on, plus what
// the window around it needs to keep. Only ClockApp writes it; the window
// system's own handles stay with the backend.
struct AppState {
    FaceState face;
    std::int32_t frameWidth = 0;   // outer window width minus client width, pixels
    std::int32_t frameHeight = 0;  // outer window height minus client height, pixels
    PixelSize clientSize;         // the client area last asked for or reported, pixels
    std::int32_t dpi = baseDpi;    // the resolution of the window's screen, dots per inch
    bool alwaysOnTop = false;      // the window stays above the others
    std::filesystem::path settingsFolder;  // empty when no settings are kept
    std::filesystem::path autostartFolder; // where the entry starting the clock at login goes; empty for none
    std::filesystem::path program;         // the running program, which that entry starts
    std::string zone;  // the IANA zone this clock shows; empty for local time
    std::optional<Settings> savedSettings;  // what the settings file holds, as far as the clock knows; none without a file
    Settings lastSeen;                      // the window's place and unit when they were last looked at
    bool tellLosses = false;                // see StartOptions::tellLosses
    bool saveFailureTold = false;           // a failed save has been told this run
    std::int32_t ticksUntilSave = 0;        // timer ticks of stillness before a moved window's place is saved; 0 when none is due
    // While the window manager imposes the client area's size (maximised, full
    // screen, a tile): the place and unit the window had before, which stay
    // the ones saved and come back when it lets go; none otherwise.
    std::optional<Settings> beforeImposed;
    PixelPoint faceOrigin;  // the clock's picture's top-left corner in the client area, pixels: (0, 0) unless a size is imposed
};
