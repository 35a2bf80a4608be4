#pragma once

#include "app/ClockApp.h"
#include "app/WindowHost.h"
#include "platform/x11/PopupMenu.h"
#include "platform/x11/XImagePaintTarget.h"

#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace platform {

// The clock's one window on an X11 display. It turns X events, its 250 ms timer
// and the signals that end a session (SIGTERM, SIGHUP, SIGINT) into calls of the
// clock, and does what only X can: the window, its frame as the window manager
// reports it, the screen, and the pixels. When the connection to the display is
// lost the clock still saves its settings before the program ends.
class X11Window final : public WindowHost {
public:
    explicit X11Window(ClockApp& clockApp) : app(clockApp) {}
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    // Connects to the display, starts the clock and shows its window where the
    // clock chose. False without a display.
    bool open();
    // Handles events and timer ticks until the window is closed; the exit code.
    int run();

    std::vector<WindowRect> screens() const override;
    FrameSize frameSize() const override;
    ClientSize clientSize() const override { return client; }
    // Where the outer window stood when the server last said so: known even
    // after the connection is lost.
    ScreenPoint outerPosition() const override { return outer; }
    // Xft.dpi from the display's resource database when it is set, else 96.
    std::int32_t dpi() const override { return resolution; }
    void moveOuter(const WindowRect& outerRect) override;
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    void invalidate(bool eraseBackground) override;
    void invalidateArea(const PixelRect& area) override;
    void setAlwaysOnTop(bool on) override;
    void destroy() override;

private:
    void createWindow(const WindowPlacement& placement);
    void onEvent(XEvent& event);
    void paint();
    // Opens the clock's menu for the point at, root window pixels.
    void openMenu(ScreenPoint at);
    // Closes it, doing what was chosen.
    void closeMenu(MenuCommand chosen);
    // Asks the server where the outer window stands now.
    void updateOuterPosition();
    // The display is gone: the clock saves what it can; nothing more is sent.
    void connectionLost();
    static int onIoError(Display* display);
    // The frame a window manager put around the window: left, right, top and
    // bottom widths from _NET_FRAME_EXTENTS, zero without one.
    bool frameExtents(long extents[4]) const;

    ClockApp& app;
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    Atom deleteWindowAtom = 0;
    Atom frameExtentsAtom = 0;
    std::unique_ptr<XImagePaintTarget> target;
    std::unique_ptr<PopupMenu> menu;  // the clock's menu while it is open
    int signals = -1;             // a descriptor that reads SIGTERM, SIGHUP and SIGINT, or -1
    ClientSize client;            // the client area last reported or asked for, pixels
    ScreenPoint outer;            // the outer window's top-left corner, screen pixels
    std::int32_t resolution = 96; // dots per inch the desktop asks programs to draw at
    bool paintPending = false;    // something changed that the window does not show yet
    bool exposeAll = false;       // the whole client area must be painted
    std::vector<PixelRect> pendingAreas;  // else these parts of it
    bool closed = false;
    bool mapped = false;          // the window is on the screen
};

}  // namespace platform
