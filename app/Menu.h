#pragma once

#include <cstdint>
#include <string>
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
    Submenu,    // opens a menu of its own (the choice of zones), shown with an arrow
    Heading,    // the name of the group of items below it, never highlighted nor chosen
    Entry,      // a line the user types into, its text in zone: shown as the label, a colon and the
                // text where the clock draws the menu, as the label and an ellipsis opening a
                // dialog where the window system draws it
};

// One item as a window system shows it.
struct MenuItem {
    MenuItemKind kind = MenuItemKind::Action;
    MenuCommand command = MenuCommand::Nothing;
    std::string label;     // UTF-8; empty for a separator
    char32_t key = 0;      // the upper-case key that does the same, shown beside the label; 0 for none
    bool marked = false;   // the radio item chosen, the check item on
    std::string zone;      // ChooseZone: the IANA name chosen, empty for local time, or an entry's text;
                           // TimeZone: the zone the clock shows now
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
// login, a separator, the week's first day, earthshine, the time zone (its
// place named when it is not local time), a separator, about, close.
std::vector<MenuItem> menuItems(const MenuState& state);

// The choice of the zone a clock shows, opened by the menu's time zone: local
// time, well-known places under the names of their regions, the zone now shown
// when it is none of them, and an entry for any IANA name. The current zone's
// item is marked.
std::vector<MenuItem> zoneMenuItems(std::string_view currentZone);

// The place a zone is named after in the menu: the name the choice of zones
// gives it ("São Paulo"), else the last part of its IANA name.
std::string zonePlace(std::string_view zone);

// The name typed for a zone without the spaces around it; empty when nothing
// else was typed.
std::string trimmedZone(std::string_view typed);

// The menu without the item of the command: for a window system that cannot do
// what it does (keep a window above the others).
std::vector<MenuItem> withoutItem(std::vector<MenuItem> items, MenuCommand command);

// The menu with the check item "On the desktop" after the window's check items,
// before the first separator, for a window system that can lay the window on
// the desktop; marked when it lies there.
std::vector<MenuItem> withDesktopItem(std::vector<MenuItem> items, bool onDesktop);

// The item a key chooses while the menu is open, an upper-case letter; none for
// other keys.
MenuCommand menuCommandForKey(const std::vector<MenuItem>& items, char32_t upperCaseKey);
