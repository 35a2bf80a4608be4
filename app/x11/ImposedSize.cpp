#include "app/x11/ImposedSize.h"

#include <X11/Xatom.h>

namespace shell {

bool sizeImposed(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM,
                           &type, &format, &count, &remaining, &data) != Success ||
        data == nullptr) {
        return false;
    }
    const Atom imposing[] = {XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_VERT", False),
                             XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_HORZ", False),
                             XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False)};
    bool imposed = false;
    if (format == 32) {
        // Xlib hands 32-bit items over as longs.
        const auto* states = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !imposed; ++i) {
            for (const Atom state : imposing) {
                imposed = imposed || states[i] == state;
            }
        }
    }
    XFree(data);
    return imposed;
}

}  // namespace shell
