#pragma once

#include <cstdint>

// The keys the clock and its menus read, by their keysyms: the numbers X11 and
// XKB give a key's symbol alike. A letter's keysym is its ASCII code, lower or
// upper case as the key types it; a Latin-1 character's is its code point.
namespace keysym {

enum : std::uint32_t {
    space = 0x20,
    BackSpace = 0xff08,
    Return = 0xff0d,
    Escape = 0xff1b,
    Home = 0xff50,
    Up = 0xff52,
    Down = 0xff54,
    End = 0xff57,
    Menu = 0xff67,
    KpEnter = 0xff8d,
    KpHome = 0xff95,
    KpUp = 0xff97,
    KpDown = 0xff99,
    KpEnd = 0xff9c,
    F10 = 0xffc7,
};

}  // namespace keysym

// The clock's letter of a key: A to Z for a letter key by its keysym, whichever
// case it types, as Windows numbers letter keys; 0 for every other key. Each
// shell turns its own key codes into keysyms and asks this.
char32_t letterOfKeysym(std::uint32_t symbol);

// The layout unit a size key chooses: 'S' 20, 'M' 28, 'L' 40 (upper-case letters,
// as Windows numbers the keys); 0 for every other key.
std::int32_t unitForKey(char32_t upperCaseKey);

// The key that keeps the window above the others, or lets it go.
inline constexpr char32_t alwaysOnTopKey = U'T';
