#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// What an item of the clock's menu does when chosen.
enum class MenuCommand : std::uint8_t {
    Nothing,       // nothing: a separator, or a menu closed without a choice
    Small,         // the unit of the key S
    Medium,        // the unit of the key M
    Large,         // the unit of the key L
    AlwaysOnTop,   // the window stays above the others, or no longer
    StartAtLogin,  // the clock starts with the session, or no longer
    About,         // the version, the licence and the maps' credits
    Close,         // the window closes, as its close button does
    OnTheDesktop,  // the window lies on the desktop, below the others, or no longer
    WeekStartsOnMonday,  // the calendar's weeks run Monday to Sunday, or Sunday to Saturday again
    Earthshine,    // the Moon's night side lit by the Earth's light, or dark again
    TimeZone,      // opens the choice of the time zone this clock shows
    ChooseZone,    // this clock shows the item's zone (MenuItem::zone), local time for none
};

enum class MenuItemKind : std::uint8_t {
    Radio,      // one of a group, the chosen one marked
    Check,      // on or off, marked when on
    Action,     // does something, never marked
    Separator,  // a line between groups, never chosen
};

// One item as a window system shows it.
struct MenuItem {
    MenuItemKind kind = MenuItemKind::Action;
    MenuCommand command = MenuCommand::Nothing;
    std::string_view label;  // UTF-8; empty for a separator
    char32_t key = 0;        // the upper-case key that does the same, shown beside the label; 0 for none
    bool marked = false;     // the radio item chosen, the check item on
};

// What the menu's marks show.
struct MenuState {
    std::int32_t sizeKeyUnit = 0;  // the unit of the key S, M or L the window has now, at 100 %; 0 for none
    bool alwaysOnTop = false;
    bool startsAtLogin = false;
    bool weekStartsOnMonday = false;
    bool earthshine = false;
    std::string_view zone{};  // the zone this clock shows, an IANA name; empty for local time
};

// The clock's menu, in its order: the three sizes, always on top, start at
// login, a separator, about, close.
std::vector<MenuItem> menuItems(const MenuState& state);

// The menu without the item of the command: for a window system that cannot do
// what it does (keep a window above the others).
std::vector<MenuItem> withoutItem(std::vector<MenuItem> items, MenuCommand command);

// The menu with the check item "On the desktop" after the last check item, for a
// window system that can lay the window on the desktop; marked when it lies there.
std::vector<MenuItem> withDesktopItem(std::vector<MenuItem> items, bool onDesktop);

// The item a key chooses while the menu is open, an upper-case letter; none for
// other keys.
MenuCommand menuCommandForKey(const std::vector<MenuItem>& items, char32_t upperCaseKey);
