#pragma once

#include "app/AppState.h"
#include "app/Layout.h"
#include "app/WindowHost.h"
#include "platform/Clock.h"
#include "platform/x11/XImagePaintTarget.h"

#include <X11/Xlib.h>

#include <memory>

namespace platform {

// The clock's one window on an X11 display: a client area held to the 7:16 grid,
// the 250 ms timer in the event loop, the S, M and L keys, and the settings saved
// when the window manager (or the user) closes it.
class X11Window final : public WindowHost {
public:
    X11Window(AppState& state, const Clock& clock);
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    // Connects to the display and shows the window at the state's position with a
    // client area of 7U × 16U, its surfaces built. False without a display.
    bool open();
    // Handles events and timer ticks until the window is closed; the exit code.
    int run();

    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    void invalidate(bool eraseBackground) override;

private:
    void onEvent(XEvent& event);
    void onConfigure(const XConfigureEvent& event);
    void onKeyPress(XKeyEvent& event);
    void paint();
    void close();
    // The outer window's top-left corner on the screen: the client's position
    // less the frame a window manager put around it.
    void outerPosition(std::int32_t& left, std::int32_t& top) const;

    AppState& state;
    const Clock& clock;
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    Atom deleteWindowAtom = 0;
    Atom frameExtentsAtom = 0;
    std::unique_ptr<XImagePaintTarget> target;
    ClientSize clientSize;        // the size last reported or asked for, pixels
    bool paintPending = false;    // something changed that the window does not show yet
    bool exposeAll = false;       // every picture must be sent, changed or not
    bool closed = false;
};

}  // namespace platform
