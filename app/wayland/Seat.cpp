#include "app/wayland/Seat.h"

#include <linux/input-event-codes.h>
#include <unistd.h>

namespace shell {

namespace {

Seat& seatOf(void* data) { return *static_cast<Seat*>(data); }

PixelPoint logicalPoint(wl_fixed_t x, wl_fixed_t y) { return {wl_fixed_to_int(x), wl_fixed_to_int(y)}; }

// The button of an evdev button code, as the clock tells them apart.
PointerButton buttonOf(std::uint32_t button) {
    return button == BTN_LEFT ? PointerButton::Left : button == BTN_RIGHT ? PointerButton::Right : PointerButton::Other;
}

// Holds a device of the seat while the seat has it, listening to it.
template <typename Device, typename Listener>
void hold(Owned<Device>& device, bool present, wl_seat* seat, Device* (*get)(wl_seat*),
          int (*listen)(Device*, const Listener*, void*), const Listener& listener, void* data) {
    if (present && !device) {
        device.reset(get(seat));
        listen(device.get(), &listener, data);
    } else if (!present) {
        device.reset();
    }
}

}  // namespace

Seat::Seat(Globals& globals, Owner& listener)
    : owner(listener), cursor(globals.compositor.get(), globals.shm.get()) {
    // The seat told what it has while the globals were bound; later changes
    // come as they happen.
    globals.seatChanged = [](void* data, wl_seat* seat, std::uint32_t capabilities) {
        seatOf(data).follow(seat, capabilities);
    };
    globals.seatChangedData = this;
    if (globals.seat) {
        follow(globals.seat.get(), globals.seatCapabilities);
    }
}

void Seat::follow(wl_seat* seat, std::uint32_t capabilities) {
    hold(pointer, (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0, seat, wl_seat_get_pointer,
         wl_pointer_add_listener, pointerListener, this);
    hold(keyboard, (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0, seat, wl_seat_get_keyboard,
         wl_keyboard_add_listener, keyboardListener, this);
}

void Seat::forget(const wl_surface* gone) {
    if (gone == nullptr) {
        return;
    }
    if (pointerOver == gone) {
        pointerOver = nullptr;
    }
    if (keyboardOn == gone) {
        keyboardOn = nullptr;
    }
}

void Seat::forgetAll() {
    pointerOver = nullptr;
    keyboardOn = nullptr;
}

const wl_pointer_listener Seat::pointerListener{
    [](void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* over, wl_fixed_t x, wl_fixed_t y) {
        Seat& seat = seatOf(data);
        seat.pointerOver = over;
        if (const std::int32_t scale = seat.owner.arrowScaleOver(over); scale > 0) {
            seat.cursor.show(pointer, serial, scale);
        }
        seat.owner.pointerMoved(logicalPoint(x, y));
    },
    [](void* data, wl_pointer*, std::uint32_t, wl_surface*) { seatOf(data).pointerOver = nullptr; },
    [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        seatOf(data).owner.pointerMoved(logicalPoint(x, y));
    },
    [](void* data, wl_pointer*, std::uint32_t serial, std::uint32_t, std::uint32_t button, std::uint32_t state) {
        seatOf(data).owner.buttonChanged(serial, buttonOf(button), state == WL_POINTER_BUTTON_STATE_PRESSED);
    },
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    nullptr};  // high-resolution wheel steps come from version 8 on, which is not bound

const wl_keyboard_listener Seat::keyboardListener{
    [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t descriptor, std::uint32_t size) {
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
            seatOf(data).keys.setKeymap(descriptor, size);
        } else {
            close(descriptor);
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface* focused, wl_array*) { seatOf(data).keyboardOn = focused; },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface*) { seatOf(data).keyboardOn = nullptr; },
    [](void* data, wl_keyboard*, std::uint32_t serial, std::uint32_t, std::uint32_t key, std::uint32_t state) {
        if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
            Seat& seat = seatOf(data);
            seat.owner.keyPressed(serial, seat.keys.read(key));
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked, std::uint32_t group) {
        seatOf(data).keys.setModifiers(depressed, latched, locked, group);
    },
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {}};

}  // namespace shell
