#include "app/wayland/Keyboard.h"

#include <sys/mman.h>
#include <unistd.h>

namespace shell {

namespace {

// evdev numbers keys 8 below XKB.
constexpr std::uint32_t evdevToXkb = 8;

}  // namespace

Keyboard::Keyboard() : context(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

Keyboard::~Keyboard() {
    xkb_state_unref(state);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
}

void Keyboard::setKeymap(int descriptor, std::uint32_t sizeBytes) {
    xkb_state_unref(state);
    xkb_keymap_unref(keymap);
    state = nullptr;
    keymap = nullptr;
    void* text = mmap(nullptr, sizeBytes, PROT_READ, MAP_PRIVATE, descriptor, 0);
    close(descriptor);
    if (text == MAP_FAILED || context == nullptr) {
        return;
    }
    keymap = xkb_keymap_new_from_string(context, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                        XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, sizeBytes);
    if (keymap != nullptr) {
        state = xkb_state_new(keymap);
    }
}

void Keyboard::setModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                            std::uint32_t group) {
    if (state != nullptr) {
        xkb_state_update_mask(state, depressed, latched, locked, 0, 0, group);
    }
}

PressedKey Keyboard::read(std::uint32_t evdevKey) const {
    PressedKey press;
    if (state == nullptr) {
        return press;
    }
    press.symbol = xkb_state_key_get_one_sym(state, evdevKey + evdevToXkb);
    press.shift = xkb_state_mod_name_is_active(state, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0;
    press.typed = xkb_state_key_get_utf32(state, evdevKey + evdevToXkb);
    return press;
}

}  // namespace shell
