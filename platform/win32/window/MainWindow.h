#pragma once

#include "app/AppState.h"
#include "platform/Clock.h"

#include <windows.h>

namespace platform {

// What the window procedure works with: the application's state and the clock it
// reads. It outlives the window.
struct MainWindowContext {
    AppState& state;
    const Clock& clock;
};

// Registers the window class "HoravelWindow": true on success.
bool registerMainWindowClass(HINSTANCE instance);

// Loads the textures, reads the settings and opens the "Horavel" window at the
// saved position with a client area of 7U × 16U, then shows it. Null on failure.
HWND createMainWindow(HINSTANCE instance, int showCommand, MainWindowContext& context);

// The window procedure of the class.
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
