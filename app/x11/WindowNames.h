#pragma once

#include <X11/Xlib.h>

#include <string_view>

namespace shell {

// Names one of the clock's windows for the window manager: its title (UTF-8
// in _NET_WM_NAME, and in the older WM_NAME with '?' for each character outside
// ASCII) and its
// class, the one every window of the program shares.
void nameWindow(Display* display, Window window, std::string_view title);

}  // namespace shell
