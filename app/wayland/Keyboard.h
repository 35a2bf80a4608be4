#pragma once

#include "app/wayland/Owned.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdint>

namespace shell {

// A key the compositor reported, as the keyboard's layout reads it.
struct PressedKey {
    xkb_keysym_t symbol = XKB_KEY_NoSymbol;
    bool shift = false;
    // The character the key types, case kept, as the layout and the modifiers
    // make it; 0 for a key that types none.
    char32_t typed = 0;
};

// The keyboard's layout as the compositor sends it (an XKB keymap) and the
// state of its modifiers, so that a key reads the same under any layout.
class Keyboard {
public:
    // A keymap in the XKB text format from the descriptor; a keymap that cannot
    // be read leaves the keyboard without one, reading no keys. The descriptor
    // is closed.
    void setKeymap(int descriptor, std::uint32_t sizeBytes);
    void setModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group);
    // The key of an evdev key code; a key without symbol when there is no keymap.
    PressedKey read(std::uint32_t evdevKey) const;

private:
    Owned<xkb_context> context{xkb_context_new(XKB_CONTEXT_NO_FLAGS)};
    Owned<xkb_keymap> keymap;
    Owned<xkb_state> state;
};

}  // namespace shell
