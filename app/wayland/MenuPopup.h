#pragma once

#include "app/MenuPicture.h"
#include "app/MenuSession.h"
#include "app/wayland/Globals.h"
#include "app/wayland/Keyboard.h"
#include "app/wayland/PictureSurface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace shell {

// The clock's menu on a Wayland compositor: a popup of the window's surface
// showing the picture the clock draws, holding the keyboard and pointer while
// it is open (a grab), so that the compositor closes it on a click elsewhere.
// The arrows, Home, End, Enter, Escape and the items' keys move and choose;
// characters typed go to an entry.
class MenuPopup {
public:
    // Opens the menu at the point (logical pixels of the parent surface) for
    // the input event with the serial. The parent is the window's xdg surface,
    // or for a layer surface null with layerParent set.
    MenuPopup(const Globals& globals, xdg_surface* parent, zwlr_layer_surface_v1* layerParent,
              std::vector<MenuItem> items, std::int32_t scale120, PixelPoint atLogical, std::uint32_t serial);

    bool isOpen() const { return popup != nullptr; }
    wl_surface* handle() const { return surface ? surface->handle() : nullptr; }
    bool owns(const wl_surface* other) const { return surface && surface->owns(other); }
    // The compositor closed it (a click outside): choose nothing.
    bool dismissed() const { return done; }

    void pointerMoved(PixelPoint atLogical);
    void buttonPressed() { session.press(); }
    MenuOutcome buttonReleased() { return session.release(session.highlighted()); }
    MenuOutcome key(const PressedKey& press);

private:
    // Draws the menu as the session has it now, and shows it.
    void redraw();

    MenuPicture picture;
    MenuSession session;
    std::unique_ptr<PictureSurface> surface;  // none when the picture could not be drawn
    Owned<xdg_popup> popup;
    bool done = false;
};

}  // namespace shell
