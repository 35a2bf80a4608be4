#include "app/wayland/WaylandWindow.h"

#include "app/Keys.h"

#include <linux/input-event-codes.h>
#include <unistd.h>

// The seat's pointer and keyboard, and the menu they open.
namespace shell {

void WaylandWindow::onSeatCapabilities(void* data, wl_seat* seat, std::uint32_t capabilities) {
    auto* window = static_cast<WaylandWindow*>(data);
    const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (hasPointer && !window->pointer) {
        window->pointer.reset(wl_seat_get_pointer(seat));
        wl_pointer_add_listener(window->pointer.get(), &pointerListener, window);
    } else if (!hasPointer) {
        window->pointer.reset();
    }
    const bool hasKeyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasKeyboard && !window->keyboard) {
        window->keyboard.reset(wl_seat_get_keyboard(seat));
        wl_keyboard_add_listener(window->keyboard.get(), &keyboardListener, window);
    } else if (!hasKeyboard) {
        window->keyboard.reset();
    }
}

namespace {

WaylandWindow& windowOf(void* data) { return *static_cast<WaylandWindow*>(data); }

PixelPoint logicalPoint(wl_fixed_t x, wl_fixed_t y) { return {wl_fixed_to_int(x), wl_fixed_to_int(y)}; }

// The button of an evdev button code, as the clock tells them apart.
PointerButton buttonOf(std::uint32_t button) {
    return button == BTN_LEFT ? PointerButton::Left : button == BTN_RIGHT ? PointerButton::Right : PointerButton::Other;
}

}  // namespace

const wl_pointer_listener WaylandWindow::pointerListener{
    [](void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* over, wl_fixed_t x, wl_fixed_t y) {
        WaylandWindow& window = windowOf(data);
        window.pointerSurface = over;
        // libdecor shows its own cursors over the frame it draws.
        if (over == window.shown.surface.get() || (window.menu && window.menu->owns(over)) ||
            window.messageOf(over) != window.messages.end()) {
            window.cursor->show(pointer, serial, (window.scale120 + scaleDenominator - 1) / scaleDenominator);
        }
        window.pointerMovedTo(logicalPoint(x, y));
    },
    [](void* data, wl_pointer*, std::uint32_t, wl_surface*) { windowOf(data).pointerSurface = nullptr; },
    [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        windowOf(data).pointerMovedTo(logicalPoint(x, y));
    },
    [](void* data, wl_pointer*, std::uint32_t serial, std::uint32_t, std::uint32_t button, std::uint32_t state) {
        windowOf(data).onPointerButton(serial, buttonOf(button), state == WL_POINTER_BUTTON_STATE_PRESSED);
    },
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    nullptr};  // high-resolution wheel steps come from version 8 on, which is not bound

const wl_keyboard_listener WaylandWindow::keyboardListener{
    [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t descriptor, std::uint32_t size) {
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
            windowOf(data).keys.setKeymap(descriptor, size);
        } else {
            close(descriptor);
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface* focused, wl_array*) {
        windowOf(data).keyboardSurface = focused;
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface*) { windowOf(data).keyboardSurface = nullptr; },
    [](void* data, wl_keyboard*, std::uint32_t serial, std::uint32_t, std::uint32_t key, std::uint32_t state) {
        if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
            windowOf(data).onKey(serial, key);
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked, std::uint32_t group) { windowOf(data).keys.setModifiers(depressed, latched, locked, group); },
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {}};

void WaylandWindow::pointerMovedTo(PixelPoint atLogical) {
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

void WaylandWindow::onPointerButton(std::uint32_t serial, PointerButton button, bool pressed) {
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

void WaylandWindow::onKey(std::uint32_t serial, std::uint32_t key) {
    const PressedKey press = keys.read(key);
    if (const auto message = messageOf(keyboardSurface); message != messages.end()) {
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
    // The pointer left with the menu's surface; a popup made next may get its address.
    if (menu && menu->owns(pointerSurface)) {
        pointerSurface = nullptr;
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
