#pragma once

#include "app/Menu.h"

#include <cstdint>
#include <string>
#include <vector>

// The keys an open menu answers besides the items' own letters.
enum class MenuKey : std::uint8_t { Up, Down, Home, End, Enter, Escape, Backspace };

// The pointer's buttons, as a shell reports the one pressed.
enum class PointerButton : std::uint8_t { Left, Right, Other };

// What an open menu does after an event: stay open (its highlight perhaps
// moved), or close, with the command chosen or Nothing.
struct MenuOutcome {
    bool closes = false;
    MenuCommand chosen = MenuCommand::Nothing;
    std::string zone;  // ChooseZone: the zone chosen, empty for local time; TimeZone: the zone shown now
};

// An open menu that the clock draws itself: which item is highlighted, what
// was typed into its entry, and what the keyboard and the mouse do to it, the
// same for every window system that hosts it. Separators and headings are
// never highlighted nor chosen.
class MenuSession {
public:
    explicit MenuSession(std::vector<MenuItem> menuItems);

    // Whether a press over the clock's window opens its menu: the right
    // button; the Menu key, or F10 with Shift (a key by its keysym).
    static bool opensOnButton(PointerButton pressed) { return pressed == PointerButton::Right; }
    static bool opensOnKey(std::uint32_t symbol, bool shift);

    // The items, an entry's zone holding what was typed into it.
    const std::vector<MenuItem>& items() const { return shown; }
    // The highlighted item, -1 for none (as the menu opens).
    std::int32_t highlighted() const { return lit; }

    // Up and Down move to the previous or next item, round the ends (from none,
    // Down goes to the first, Up to the last); Home and End to the first and last;
    // Enter chooses the highlighted item, or closes when none is; Escape closes;
    // Backspace takes the last character typed from the entry.
    MenuOutcome key(MenuKey pressed);
    // An item's own key (upper case) chooses it; other letters do nothing.
    MenuOutcome letter(char32_t upperCaseKey);
    // A character typed (case kept): in a menu with an entry it goes there,
    // which becomes highlighted, and true is returned; controls, and any
    // character in a menu without an entry, do nothing.
    bool type(char32_t character);
    // A key by its keysym (app/Keys.h): the arrows, Home and End (of the keypad
    // too) move; Return and keypad Enter choose, and so does space where nothing
    // can be typed; Escape, Menu and F10 close; BackSpace erases. Any other key
    // types its character (0 for none) into the entry, or in a menu without one
    // is read as its letter.
    MenuOutcome keysym(std::uint32_t symbol, char32_t typed);
    // The pointer is over the item (-1: over none): it is highlighted. True when
    // the highlight moved.
    bool pointAt(std::int32_t item);
    // The pointer moved away from where it was when the menu opened.
    void pointerMoved() { movedAway = true; }
    // A button went down over the menu.
    void press() { pressedInside = true; }
    // A button went up over the item: it is chosen. Over a separator, a heading
    // or the menu's border nothing happens, and so does the release of the
    // click that opened the menu: one that comes before any button went down
    // over the menu and before the pointer moved.
    MenuOutcome release(std::int32_t item);
    // A button went down outside the menu: it closes, choosing nothing.
    static MenuOutcome pressOutside() { return {true, MenuCommand::Nothing, {}}; }

private:
    bool selectable(std::int32_t item) const;
    std::int32_t step(std::int32_t from, std::int32_t direction) const;
    // Chooses the item: its command and zone; an entry's text without the
    // spaces around it, and nothing while that is empty.
    MenuOutcome choose(std::int32_t item) const;

    std::vector<MenuItem> shown;
    std::int32_t lit = -1;
    std::int32_t entry = -1;  // the item typed into, -1 for none
    bool pressedInside = false;  // a button went down over the menu since it opened
    bool movedAway = false;      // the pointer moved since the menu opened
};
