#include "app/wayland/MenuPopup.h"

namespace shell {

namespace {

void onPopupConfigure(void*, xdg_popup*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

void onPopupDone(void* data, xdg_popup*) { *static_cast<bool*>(data) = true; }

void onPopupRepositioned(void*, xdg_popup*, std::uint32_t) {}

const xdg_popup_listener popupListener{onPopupConfigure, onPopupDone, onPopupRepositioned};

// Where a popup of the size (logical pixels) opens: at the point of its
// parent, below and to the right of it, kept on the screen by flipping it to
// the point's other side, else by sliding it.
Owned<xdg_positioner> positionerAt(xdg_wm_base* wmBase, PixelPoint atLogical, PixelSize sizeLogical) {
    Owned<xdg_positioner> positioner(xdg_wm_base_create_positioner(wmBase));
    xdg_positioner_set_size(positioner.get(), sizeLogical.width, sizeLogical.height);
    xdg_positioner_set_anchor_rect(positioner.get(), atLogical.x, atLogical.y, 1, 1);
    xdg_positioner_set_anchor(positioner.get(), XDG_POSITIONER_ANCHOR_TOP_LEFT);
    xdg_positioner_set_gravity(positioner.get(), XDG_POSITIONER_GRAVITY_BOTTOM_RIGHT);
    xdg_positioner_set_constraint_adjustment(
        positioner.get(), XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_FLIP_X | XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_FLIP_Y |
                              XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_X |
                              XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_Y);
    return positioner;
}

}  // namespace

MenuPopup::MenuPopup(const Globals& globals, xdg_surface* parent, zwlr_layer_surface_v1* layerParent,
                     std::vector<MenuItem> items, std::int32_t scale120, PixelPoint atLogical,
                     std::uint32_t serial)
    : picture(items, dpiForScale(scale120)),
      session(std::move(items)),
      surface(PictureSurface::showing(picture, globals, scale120)) {
    if (!surface) {
        return;
    }
    xdg_surface* own = surface->makeXdgSurface(globals.wmBase.get());
    // The positioner may go once the popup is made.
    popup.reset(xdg_surface_get_popup(
        own, parent, positionerAt(globals.wmBase.get(), atLogical, surface->logicalSize()).get()));
    if (layerParent != nullptr) {
        zwlr_layer_surface_v1_get_popup(layerParent, popup.get());
    }
    xdg_popup_add_listener(popup.get(), &popupListener, &done);
    if (globals.seat) {
        xdg_popup_grab(popup.get(), globals.seat.get(), serial);
    }
    wl_surface_commit(surface->handle());
}

void MenuPopup::pointerMoved(PixelPoint atLogical) {
    session.pointerMoved();
    const PixelPoint at = surface->pictureAt(atLogical);
    if (session.pointAt(menuItemAt(picture.layout(), session.items(), at.x, at.y))) {
        redraw();
    }
}

MenuOutcome MenuPopup::key(const PressedKey& press) {
    const MenuOutcome outcome = session.keysym(press.symbol, press.typed);
    redraw();
    return outcome;
}

void MenuPopup::redraw() {
    picture.draw(session.items(), session.highlighted());
    surface->show();
}

}  // namespace shell
