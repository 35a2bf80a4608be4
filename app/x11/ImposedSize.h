#pragma once

#include <X11/Xlib.h>

namespace shell {

// Whether the window manager holds the window at a size of its own choosing:
// maximised in either direction or full screen, as its _NET_WM_STATE says.
bool sizeImposed(Display* display, Window window);

}  // namespace shell
