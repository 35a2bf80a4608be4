#pragma once

#include "app/wayland/Globals.h"
#include "app/wayland/Owned.h"
#include "raster/PixelGeometry.h"

#include <libdecor.h>

#include <string>

namespace shell {

// A surface's role as a window of its own, either way a compositor wants it:
// through xdg-shell, framed by the compositor where it offers to draw frames,
// or through libdecor, which draws the frame itself where the compositor draws
// none. Its owner hears what the compositor asks and never needs to know which
// way it is.
class Toplevel {
public:
    // What the window hears.
    class Owner {
    public:
        // The compositor configured the window: the size it proposes, logical
        // pixels (0 where the window chooses), and whether it holds that size
        // (maximised, full screen, tiled). The size the window takes, logical
        // pixels.
        virtual PixelSize configure(PixelSize proposedLogical, bool imposed) = 0;
        // The configure is acknowledged: a picture of the size taken may show.
        virtual void configured() = 0;
        // The compositor, or the frame's close button, asks to close the window.
        virtual void closeAsked() = 0;
        // libdecor drew its frame again, and the picture is to be shown again.
        virtual void redraw() = 0;

    protected:
        ~Owner() = default;
    };

    // Makes the surface a window titled title, of the program's application
    // id: framed by libdecor in the context frames when it is not null, else
    // through xdg-shell. The parent, when not null, is another window made the
    // same way. made() is false when libdecor could not frame it.
    Toplevel(const Globals& globals, libdecor* frames, wl_surface* surface, const Toplevel* parent,
             const std::string& title, Owner& owner);
    Toplevel(const Toplevel&) = delete;
    Toplevel& operator=(const Toplevel&) = delete;

    bool made() const { return toplevel != nullptr || frame != nullptr; }
    void setTitle(const std::string& title);
    // Asks the compositor to keep the window's size within these, logical pixels.
    void limitSize(PixelSize smallestLogical, PixelSize largestLogical);
    // Shows the window: the compositor answers with its first configure.
    void map();
    // The window took a size of its own, logical pixels, between configures:
    // libdecor's frame follows it.
    void sizeChosen(PixelSize logical);
    // The xdg surface a popup of the window takes as its parent, and a point
    // of the window (logical pixels) in that surface's own: libdecor's begins
    // at its title bar.
    xdg_surface* popupParent() const;
    PixelPoint popupPoint(PixelPoint atLogical) const;

private:
    void makeXdgToplevel(const Globals& globals);
    void makeFramed(libdecor* frames);

    Owner& owner;
    wl_surface* surface;
    PixelSize pendingLogical;     // the size of the xdg configure under way, logical pixels
    bool pendingImposed = false;  // whether it holds the size (maximised, full screen, tiled)
    // Through xdg-shell, each going before the one it was made from.
    Owned<xdg_surface> xdgSurface;
    Owned<xdg_toplevel> toplevel;
    Owned<zxdg_toplevel_decoration_v1> decoration;
    // Through libdecor.
    Owned<libdecor_frame> frame;
};

}  // namespace shell
