#pragma once

#include "app/ClockApp.h"
#include "app/PaintQueue.h"
#include "app/TrackedWindowHost.h"
#include "app/linux/ShellLoop.h"
#include "app/x11/MenuWindow.h"
#include "app/x11/MessageWindow.h"
#include "app/x11/XImagePaintTarget.h"

#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace shell {

// The clock's window on an X11 display, with its menu and its messages. Served
// by the Linux shells' loop, it turns X events into calls of the clock, shows
// the clock's messages in windows of their own, and does what only X can: the
// window, its frame as the window manager reports it, the screen, and the
// pixels. When the connection to the display is lost the clock still saves its
// settings before the program ends: the place it keeps is where the server
// last said the window stood, and its resolution Xft.dpi from the display's
// resource database when that is set, else 96.
class X11Window final : public TrackedWindowHost, private LoopConnection {
public:
    explicit X11Window(ClockApp& clockApp) : TrackedWindowHost(baseDpi), app(clockApp) {}
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    // Connects to the display, starts the clock and shows its window where the
    // clock chose. False without a display.
    bool open(const StartOptions& options);
    // Handles events and timer ticks until the window is closed; the exit code:
    // 0, or displayLostStatus when the connection to the display was lost.
    int run();

    // The clock's requests, as X answers them. The size, the place and the
    // resolution are the ones last reported (TrackedWindowHost).
    std::vector<PixelRect> screens() const override;  // the default screen alone
    PixelSize frameSize() const override;             // from _NET_FRAME_EXTENTS; none without a window manager
    void moveOuter(const PixelRect& outerRect) override;  // by the frame's corner, as window managers place
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    // Both queue what waits; it is painted once the events run out.
    void invalidate(bool eraseBackground) override;
    void invalidateArea(const PixelRect& area) override;
    void setAlwaysOnTop(bool on) override;  // _NET_WM_STATE_ABOVE, asked of the window manager
    void setTitle(std::string_view title) override;
    void destroy() override;

private:
    // The loop's turn, as X does it.
    bool isClosed() const override { return closed; }
    int descriptor() const override { return ConnectionNumber(display); }
    bool handleEvents() override;
    void paintWaiting() override;
    Wait prepareWait() override;
    bool finishWait(Found found) override;
    // A dialog window over the clock's.
    bool showMessage(std::string_view caption, std::string_view text) override;
    // The display is gone: the clock saves what it can; nothing more is sent.
    void connectionFailed() override;

    void createWindow(const WindowPlacement& placement);
    // Handles the events Xlib has or can read at once.
    void handleQueuedEvents();
    void onEvent(XEvent& event);
    // The window's size and state as the window manager last configured them:
    // a size it imposes (maximised, full screen), or one the clock holds to
    // its grid.
    void followConfiguration();
    void paint();
    // Opens a menu of the items (the clock's, or the choice of zones) for the
    // point at, root window pixels.
    void openMenu(std::vector<MenuItem> items, PixelPoint at);
    // Closes it, doing what was chosen: the choice of zones opens in its place.
    void closeMenu(const MenuOutcome& outcome);
    // Asks the server where the outer window stands now.
    void updateOuterPosition();
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
    Atom stateAtom = 0;
    std::unique_ptr<XImagePaintTarget> target;
    std::unique_ptr<MenuWindow> menu;  // the clock's menu while it is open
    std::vector<std::unique_ptr<MessageWindow>> messages;  // the messages open, oldest first
    std::unique_ptr<ShellLoop> loop;  // from the connection on
    PaintQueue waiting;           // what changed that the window does not show yet
    bool closed = false;
    // Whether events may be waiting: at first, when the wait found the
    // connection readable, and when Xlib has read some into its queue already.
    // Otherwise they are not asked for, so that an idle tick makes no reads
    // that find nothing beyond those Xlib makes by itself.
    bool eventsMayWait = true;
    bool mapped = false;          // the window is on the screen
    PixelSize configuredClient;   // the client area's size the last ConfigureNotify gave
    bool configurePending = false;  // a size or state change waits for followConfiguration
    bool sizeConfigured = false;  // the change waiting includes a ConfigureNotify
    bool imposed = false;         // the window manager holds the window's size
};

}  // namespace shell
