#pragma once

#include "app/MenuSession.h"
#include "app/wayland/Globals.h"
#include "app/wayland/Keyboard.h"
#include "app/wayland/Owned.h"
#include "app/wayland/PointerCursor.h"
#include "raster/PixelGeometry.h"

#include <cstdint>

namespace shell {

// The seat's pointer and keyboard as the clock follows them: held while the
// seat has them, which of the program's surfaces each is on, the arrow the
// pointer shows over the clock's own, and the keys as the keyboard's layout
// reads them. What they do goes to the owner, the clock's window.
class Seat {
public:
    // What the window hears.
    class Owner {
    public:
        // The scale of the arrow the pointer shows over the surface it entered,
        // 0 for a surface that is not the clock's (libdecor shows its own
        // cursors over the frame it draws).
        virtual std::int32_t arrowScaleOver(const wl_surface* surface) const = 0;
        // The pointer moved to the point of its surface, logical pixels.
        virtual void pointerMoved(PixelPoint atLogical) = 0;
        virtual void buttonChanged(std::uint32_t serial, PointerButton button, bool pressed) = 0;
        virtual void keyPressed(std::uint32_t serial, const PressedKey& press) = 0;

    protected:
        ~Owner() = default;
    };

    // Follows the seat of the globals, if any, from now on.
    Seat(Globals& globals, Owner& owner);
    Seat(const Seat&) = delete;
    Seat& operator=(const Seat&) = delete;

    // The surface under the pointer, and the one with the keyboard's focus;
    // null for none.
    wl_surface* pointerSurface() const { return pointerOver; }
    wl_surface* keyboardSurface() const { return keyboardOn; }
    // A surface is about to go: neither the pointer nor the keyboard is on it
    // any more, so that a surface made next at its address is not taken for it.
    void forget(const wl_surface* gone);
    // Every surface of the clock goes.
    void forgetAll();

private:
    // Holds the pointer and the keyboard while the seat has them.
    void follow(wl_seat* seat, std::uint32_t capabilities);

    static const wl_pointer_listener pointerListener;
    static const wl_keyboard_listener keyboardListener;

    Owner& owner;
    PointerCursor cursor;
    Keyboard keys;
    Owned<wl_pointer> pointer;
    Owned<wl_keyboard> keyboard;
    wl_surface* pointerOver = nullptr;
    wl_surface* keyboardOn = nullptr;
};

}  // namespace shell
