#include "app/wayland/WaylandWindow.h"

#include "app/Keys.h"

#include <algorithm>

// What the seat's pointer and keyboard do to the clock's surfaces, its menu
// and its messages.
namespace shell {

std::int32_t WaylandWindow::arrowScaleOver(const wl_surface* over) const {
    const auto ownsIt = [over](const std::unique_ptr<MessageToplevel>& message) { return message->owns(over); };
    const bool clocks = over == shown.surface.get() || (menu && menu->owns(over)) ||
                        std::any_of(messages.begin(), messages.end(), ownsIt);
    return clocks ? (scale120 + scaleDenominator - 1) / scaleDenominator : 0;
}

void WaylandWindow::pointerMoved(PixelPoint atLogical) {
    const wl_surface* pointerSurface = seat->pointerSurface();
    if (dragging && pointerSurface == shown.surface.get()) {
        // The surface moves with the pointer, which stays where it grabbed it.
        dragDesktopBy({atLogical.x - pointerAt.x, atLogical.y - pointerAt.y});
        return;
    }
    pointerAt = atLogical;
    if (menu && menu->owns(pointerSurface)) {
        menu->pointerMoved(atLogical);
    }
}

void WaylandWindow::buttonChanged(std::uint32_t serial, PointerButton button, bool pressed) {
    const wl_surface* pointerSurface = seat->pointerSurface();
    if (const auto message = messageOf(pointerSurface); message != messages.end()) {
        if (pressed && button == PointerButton::Left && (*message)->clicked(pointerAt)) {
            closeMessage(message);
        }
        return;
    }
    if (menu) {
        if (!menu->owns(pointerSurface)) {
            return;
        }
        if (pressed) {
            menuSerial = serial;
            menu->buttonPressed();
            return;
        }
        const MenuOutcome outcome = menu->buttonReleased();
        if (outcome.closes) {
            closeMenu(outcome);
        }
        return;
    }
    const bool overClock = shown.surface && pointerSurface == shown.surface.get();
    if (pressed && MenuSession::opensOnButton(button) && overClock) {
        openMenu(clockMenu(), pointerAt, serial);
    } else if (button == PointerButton::Left && shown.layer) {
        // On the desktop the clock is moved by dragging it anywhere.
        dragging = pressed && overClock;
        if (!pressed) {
            app.placeSettled(*this);
        }
    }
}

void WaylandWindow::keyPressed(std::uint32_t serial, const PressedKey& press) {
    if (const auto message = messageOf(seat->keyboardSurface()); message != messages.end()) {
        if (MessageToplevel::ends(press)) {
            closeMessage(message);
        }
        return;
    }
    if (menu) {
        menuSerial = serial;
        const MenuOutcome outcome = menu->key(press);
        if (outcome.closes) {
            closeMenu(outcome);
        }
        return;
    }
    if (MenuSession::opensOnKey(press.symbol, press.shift)) {
        // From the keyboard the menu opens at the client area's corner.
        openMenu(clockMenu(), {0, 0}, serial);
    } else if (const char32_t letter = letterOfKeysym(press.symbol); letter != alwaysOnTopKey) {
        // No window can ask a compositor to keep it above the others.
        app.key(*this, letter);
    }
}

std::vector<MenuItem> WaylandWindow::clockMenu() const {
    std::vector<MenuItem> items = withoutItem(app.menu(), MenuCommand::AlwaysOnTop);
    if (globals.layerShell != nullptr) {
        items = withDesktopItem(std::move(items), shown.layer != nullptr);
    }
    return items;
}

void WaylandWindow::openMenu(std::vector<MenuItem> items, PixelPoint atLogical, std::uint32_t serial) {
    menuAt = atLogical;
    menuSerial = serial;
    // On the desktop the menu is a popup of the layer surface.
    xdg_surface* parent = shown.toplevel ? shown.toplevel->popupParent() : nullptr;
    const PixelPoint at = shown.toplevel ? shown.toplevel->popupPoint(atLogical) : atLogical;
    menu = std::make_unique<MenuPopup>(globals, parent, shown.layer.get(), std::move(items), scale120, at, serial);
    if (!menu->isOpen()) {
        menu.reset();
    }
}

void WaylandWindow::closeMenu(const MenuOutcome& outcome) {
    if (menu) {
        seat->forget(menu->handle());
    }
    menu.reset();
    if (outcome.chosen == MenuCommand::TimeZone) {
        // The choice of zones opens where the menu did, its grab taken with the
        // serial of the press that chose the time zone.
        openMenu(zoneMenuItems(outcome.zone), menuAt, menuSerial);
        return;
    }
    if (outcome.chosen == MenuCommand::OnTheDesktop) {
        setOnDesktop(!shown.layer);
        return;
    }
    app.menuChosen(*this, outcome.chosen, outcome.zone);
}

void WaylandWindow::checkMenuDismissed() {
    if (menu && menu->dismissed()) {
        closeMenu({});
    }
}

}  // namespace shell
