#include "app/x11/StayAbove.h"

#include <X11/Xatom.h>

namespace shell {

namespace {

// The _NET_WM_STATE message's actions, and its source: a program, not a pager.
constexpr long stateRemove = 0;
constexpr long stateAdd = 1;
constexpr long sourceApplication = 1;

}  // namespace

void stayAbove(Display* display, Window window, bool mapped, bool on) {
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    if (!mapped) {
        // The clock sets no other state of its own before mapping.
        if (on) {
            XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&above), 1);
        } else {
            XDeleteProperty(display, window, state);
        }
        return;
    }
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = state;
    message.xclient.format = 32;
    message.xclient.data.l[0] = on ? stateAdd : stateRemove;
    message.xclient.data.l[1] = static_cast<long>(above);
    message.xclient.data.l[2] = 0;
    message.xclient.data.l[3] = sourceApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &message);
    XFlush(display);
}

}  // namespace shell
