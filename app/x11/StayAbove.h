#pragma once

#include <X11/Xlib.h>

namespace shell {

// Keeping a top-level window above the others the way X window managers
// understand it: the state _NET_WM_STATE_ABOVE.
// A window not yet mapped carries the state in its _NET_WM_STATE property, which
// the window manager reads when it maps the window; a mapped one asks the window
// manager with a message to the root window, and the manager sets the property.
void stayAbove(Display* display, Window window, bool mapped, bool on);

}  // namespace shell
