#pragma once

#include "app/ClockApp.h"
#include "app/PaintQueue.h"
#include "app/SurfaceScale.h"
#include "app/TrackedWindowHost.h"
#include "app/linux/ShellLoop.h"
#include "app/wayland/Globals.h"
#include "app/wayland/MenuPopup.h"
#include "app/wayland/MessageToplevel.h"
#include "app/wayland/Seat.h"
#include "app/wayland/ShmBuffers.h"
#include "app/wayland/Toplevel.h"

#include <libdecor.h>
#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace shell {

// The compositor's connection when one answers: the one WAYLAND_DISPLAY names,
// or when that is unset and no X display is named either, the default socket
// (wayland-0). Null otherwise.
Owned<wl_display> connectToCompositor();

// The clock's window on a Wayland compositor, with its menu and its messages.
// Served by the Linux shells' loop, it turns the compositor's events into calls
// of the clock, shows the clock's messages in windows of their own, and does
// what only the compositor can: the surface, its scale and the pixels in shared
// memory. The compositor keeps the window's place to itself, so the place the
// settings hold is left as it was.
class WaylandWindow final : public TrackedWindowHost,
                            private LoopConnection,
                            private Toplevel::Owner,
                            private Seat::Owner {
public:
    // Takes the connection, and closes it at the end.
    WaylandWindow(ClockApp& clockApp, Owned<wl_display> connection);
    ~WaylandWindow() override;
    WaylandWindow(const WaylandWindow&) = delete;
    WaylandWindow& operator=(const WaylandWindow&) = delete;

    // Starts the clock and shows its window. False, with a line on standard
    // error, when the compositor lacks what a window needs.
    bool open(const StartOptions& options);
    // Handles events and timer ticks until the window is closed; the exit code:
    // 0, or displayLostStatus when the connection failed (the compositor went
    // away, or ended it for a protocol error).
    int run();

    std::vector<PixelRect> screens() const override { return {}; }
    PixelSize frameSize() const override { return {}; }
    void moveOuter(const PixelRect& outerRect) override;
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    void invalidate(bool eraseBackground) override;
    void invalidateArea(const PixelRect& area) override;
    void setAlwaysOnTop(bool) override {}
    void setTitle(std::string_view title) override;
    void destroy() override { closed = true; }
    std::optional<DesktopPlace> desktopPlace() const override {
        return globals.layerShell != nullptr ? std::optional<DesktopPlace>(desktop) : std::nullopt;
    }

private:
    // The connection (WaylandConnection.cpp): the loop's turn, as the client
    // library does it.
    bool isClosed() const override { return closed; }
    int descriptor() const override { return wl_display_get_fd(display); }
    bool handleEvents() override;
    void paintWaiting() override { paint(); }
    Wait prepareWait() override;
    bool finishWait(Found found) override;
    // A toplevel of its own, with the clock's window as its parent.
    bool showMessage(std::string_view caption, std::string_view text) override;
    // The settings are saved, and what failed is said.
    void connectionFailed() override;

    // The window itself (WaylandWindow.cpp). The compositor's requests to the
    // window, whichever its role. A
    // configure gives it a size in logical pixels (0 when the window chooses),
    // or on the desktop the size it asked for; imposed, that size is the
    // compositor's own, not the user's (maximised, full screen, tiled). The
    // size the window took, logical pixels.
    PixelSize configure(PixelSize proposedLogical, bool imposedNow) override;
    void configured() override {}
    void closeAsked() override { app.closeRequested(*this); }
    void redraw() override { waiting.addAll(); }
    // How the surface shows the client area at the scale now.
    SurfaceScaling scaling() const;
    void addAllWaiting();
    // The scale of the outputs the surface is on changed, 120ths.
    void scaleChanged(std::int32_t newScale120);
    std::int32_t enteredScale120() const;
    void paint();
    // Ends the messages whose close button was pressed.
    void closeAskedMessages();
    // Ends a message, forgetting its surface as the one under the pointer or
    // with the keyboard's focus.
    void closeMessage(std::vector<std::unique_ptr<MessageToplevel>>::iterator message);
    // The message whose surface this is, or none.
    std::vector<std::unique_ptr<MessageToplevel>>::iterator messageOf(const wl_surface* over);

    // The surface and its roles (WaylandSurfaceRoles.cpp). The surface,
    // without a role yet.
    void createSurface();
    void createToplevel();
    // The surface as a layer of the desktop, below the windows, at desktop.
    void createLayerSurface();
    // Anchors the layer surface to desktop's corner, with its margins and size.
    void placeLayer();
    // Lays the clock on the desktop, or makes it an ordinary window again.
    void setOnDesktop(bool on);
    // The size of the output the surface is on (before it is on one, the first
    // output known), its own pixels; 0 × 0 unknown.
    PixelSize outputSizePx() const;
    // The pointer dragged the clock on the desktop by this much, logical pixels.
    void dragDesktopBy(PixelPoint deltaLogical);
    // A desktop place that leaves the window partly off its output (saved on a
    // larger one) moves to the nearest corner's edges: true when it moved.
    bool keepDesktopPlaceOnScreen();
    // Tells the compositor the toplevel's smallest and largest sizes at the
    // scale now, in logical pixels.
    void limitSize();
    void destroySurface();

    // Input (WaylandInput.cpp): what the pointer and the keyboard do. They
    // reach a message, else the open menu, else the clock.
    std::int32_t arrowScaleOver(const wl_surface* over) const override;
    void pointerMoved(PixelPoint atLogical) override;
    void buttonChanged(std::uint32_t serial, PointerButton button, bool pressed) override;
    void keyPressed(std::uint32_t serial, const PressedKey& press) override;
    // The clock's menu as the compositor can do it: never always on top, and
    // on the desktop where it offers the desktop's layer.
    std::vector<MenuItem> clockMenu() const;
    // Opens a menu of the items (the clock's, or the choice of zones) at the
    // point of the client area, for the input event with the serial.
    void openMenu(std::vector<MenuItem> items, PixelPoint atLogical, std::uint32_t serial);
    // Closes it, doing what was chosen: the choice of zones opens in its place.
    void closeMenu(const MenuOutcome& outcome);
    // The compositor closed the menu (a click elsewhere): nothing is chosen.
    void checkMenuDismissed();

    // The surface and the objects that give it its role, made together and let
    // go together. Each is declared after the object it is made from, and so
    // goes before it, as the protocol wants.
    struct SurfaceObjects {
        Owned<wl_surface> surface;
        Owned<wp_viewport> viewport;
        Owned<wp_fractional_scale_v1> fractional;
        Owned<libdecor> decorContext;        // libdecor, where the compositor draws no frames; messages share it
        std::unique_ptr<Toplevel> toplevel;  // an ordinary window
        Owned<zwlr_layer_surface_v1> layer;  // or the clock lying on the desktop
        Owned<wl_callback> frameCallback;    // a commit waits for the compositor to show the last one
    };

    ClockApp& app;
    Owned<wl_display> connection;  // closed after everything else is gone
    wl_display* display;
    Globals globals;
    std::unique_ptr<ShellLoop> loop;  // from the globals on
    std::unique_ptr<ShmBuffers> buffers;
    std::unique_ptr<Seat> seat;  // from the globals on
    SurfaceObjects shown;
    // The menu and the messages go before the surface they belong to.
    std::unique_ptr<MenuPopup> menu;  // the clock's menu while it is open
    std::vector<std::unique_ptr<MessageToplevel>> messages;  // the messages open, oldest first

    bool inConfigure = false;            // a configure is being answered
    PaintQueue waiting;                  // what changed that the window does not show yet
    std::int32_t areasWaiting = 0;       // rectangles in waiting, which a hidden window would pile up
    std::vector<wl_output*> entered;     // the outputs the surface is on
    std::int32_t scale120 = scaleDenominator;  // the scale the window's pixels are drawn at, 120ths
    std::int32_t fractionalScale120 = 0;       // the compositor's preferred fractional scale; 0 before it says
    bool imposed = false;                // the compositor holds the window's size
    bool isConfigured = false;           // the compositor configured the surface: buffers may be attached
    bool closed = false;
    DesktopPlace desktop;                // where the clock lies on the desktop; None as a window
    PixelSize layerSize;                 // the layer surface's size as last given, logical pixels
    bool layerClosed = false;            // the compositor closed the layer surface
    bool dragging = false;               // the left button drags the clock on the desktop
    PixelPoint pointerAt;                // where on its surface the pointer is, logical pixels
    PixelPoint menuAt;                   // the client area's point the menu opened at, logical pixels
    std::uint32_t menuSerial = 0;        // the menu's last key or button press, which may open the next
};

}  // namespace shell
