#include "app/wayland/Keyboard.h"

#include <sys/mman.h>
#include <unistd.h>

namespace shell {

namespace {

// evdev numbers keys 8 below XKB.
constexpr std::uint32_t evdevToXkb = 8;

}  // namespace

void Keyboard::setKeymap(int descriptor, std::uint32_t sizeBytes) {
    state.reset();
    keymap.reset();
    void* text = mmap(nullptr, sizeBytes, PROT_READ, MAP_PRIVATE, descriptor, 0);
    close(descriptor);
    if (text == MAP_FAILED || !context) {
        return;
    }
    keymap.reset(xkb_keymap_new_from_string(context.get(), static_cast<const char*>(text),
                                            XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    munmap(text, sizeBytes);
    if (keymap) {
        state.reset(xkb_state_new(keymap.get()));
    }
}

void Keyboard::setModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                            std::uint32_t group) {
    if (state) {
        xkb_state_update_mask(state.get(), depressed, latched, locked, 0, 0, group);
    }
}

PressedKey Keyboard::read(std::uint32_t evdevKey) const {
    PressedKey press;
    if (!state) {
        return press;
    }
    press.symbol = xkb_state_key_get_one_sym(state.get(), evdevKey + evdevToXkb);
    press.shift = xkb_state_mod_name_is_active(state.get(), XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0;
    press.typed = xkb_state_key_get_utf32(state.get(), evdevKey + evdevToXkb);
    return press;
}

}  // namespace shell
