#include "app/wayland/MenuPopup.h"

#include "app/SurfaceScale.h"

namespace shell {

namespace {

void onPopupConfigure(void*, xdg_popup*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

void onPopupDone(void* data, xdg_popup*) { *static_cast<bool*>(data) = true; }

void onPopupRepositioned(void*, xdg_popup*, std::uint32_t) {}

const xdg_popup_listener popupListener{onPopupConfigure, onPopupDone, onPopupRepositioned};

}  // namespace

MenuPopup::MenuPopup(const Globals& globals, xdg_surface* parent, zwlr_layer_surface_v1* layerParent,
                     std::vector<MenuItem> items, std::int32_t scale, PixelPoint atLogical,
                     std::uint32_t serial)
    : picture(items, dpiForScale(scale)), session(std::move(items)), buffers(globals.shm.get()), scale120(scale) {
    if (!picture.ready()) {
        return;
    }
    const MenuLayout& layout = picture.layout();
    const SurfaceScaling scaling =
        surfaceScaling({layout.widthPx, layout.heightPx}, scale120, globals.viewporter != nullptr);
    surface.reset(wl_compositor_create_surface(globals.compositor.get()));
    xdgSurface.reset(xdg_wm_base_get_xdg_surface(globals.wmBase.get(), surface.get()));
    static const xdg_surface_listener surfaceListener{[](void* data, xdg_surface* self, std::uint32_t configureSerial) {
        xdg_surface_ack_configure(self, configureSerial);
        auto* menu = static_cast<MenuPopup*>(data);
        menu->configured = true;
        menu->paint();
    }};
    xdg_surface_add_listener(xdgSurface.get(), &surfaceListener, this);

    // What a popup is made with: it may go once the popup is made.
    const Owned<xdg_positioner> positioner(xdg_wm_base_create_positioner(globals.wmBase.get()));
    xdg_positioner_set_size(positioner.get(), scaling.logical.width, scaling.logical.height);
    xdg_positioner_set_anchor_rect(positioner.get(), atLogical.x, atLogical.y, 1, 1);
    xdg_positioner_set_anchor(positioner.get(), XDG_POSITIONER_ANCHOR_TOP_LEFT);
    xdg_positioner_set_gravity(positioner.get(), XDG_POSITIONER_GRAVITY_BOTTOM_RIGHT);
    // Kept on the screen: flipped to the pointer's other side, else slid.
    xdg_positioner_set_constraint_adjustment(
        positioner.get(), XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_FLIP_X | XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_FLIP_Y |
                        XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_X | XDG_POSITIONER_CONSTRAINT_ADJUSTMENT_SLIDE_Y);
    popup.reset(xdg_surface_get_popup(xdgSurface.get(), parent, positioner.get()));
    if (layerParent != nullptr) {
        zwlr_layer_surface_v1_get_popup(layerParent, popup.get());
    }
    xdg_popup_add_listener(popup.get(), &popupListener, &done);
    if (globals.seat) {
        xdg_popup_grab(popup.get(), globals.seat.get(), serial);
    }
    if (scaling.viewport) {
        viewport.reset(wp_viewporter_get_viewport(globals.viewporter.get(), surface.get()));
        wp_viewport_set_destination(viewport.get(), scaling.logical.width, scaling.logical.height);
    }
    wl_surface_set_buffer_scale(surface.get(), scaling.bufferScale);
    wl_surface_commit(surface.get());
}

std::int32_t MenuPopup::itemAt(PixelPoint atLogical) const {
    const PixelSize at = bufferSize({atLogical.x, atLogical.y}, scale120);
    return menuItemAt(picture.layout(), session.items(), at.width, at.height);
}

void MenuPopup::pointerMoved(PixelPoint atLogical) {
    session.pointerMoved();
    if (session.pointAt(itemAt(atLogical))) {
        picture.draw(session.items(), session.highlighted());
        paint();
    }
}

MenuOutcome MenuPopup::key(const PressedKey& press) {
    const MenuOutcome outcome = session.keysym(press.symbol, press.typed);
    picture.draw(session.items(), session.highlighted());
    paint();
    return outcome;
}

void MenuPopup::paint() {
    if (!configured) {
        return;
    }
    const MenuLayout& layout = picture.layout();
    buffers.showWhole(surface.get(), {layout.widthPx, layout.heightPx},
                      [this](PaintTarget& target, const PixelRect& area) { picture.paint(target, area); });
}

}  // namespace shell
