#pragma once

#include "app/Menu.h"

#include <windows.h>

#include <vector>

namespace shell {

// The clock's menu as Windows shows menus: a popup at a point, and the same
// items below the window's own entries in its system menu. The time zone is a
// submenu of the choice of zones, its headings greyed, its entry an item that
// ends in an ellipsis: the shell asks for the name when it is chosen.

// Shows the items as a popup at (x, y), screen pixels, and waits until one is
// chosen or the menu is dismissed: the item chosen (from the choice of zones
// too), or an item of command Nothing.
MenuItem trackPopupMenu(HWND window, const std::vector<MenuItem>& items, POINT atScreen);

// Puts the items, after a separator, at the end of the window's system menu,
// replacing those put there before, so that their marks are those of now.
void refreshSystemMenu(HWND window, const std::vector<MenuItem>& items);

// The item of the system menu whose identifier a message carries: a
// WM_SYSCOMMAND for the menu's own items, a WM_COMMAND for those of the choice
// of zones, which Windows sends for the items of a submenu. An item of command
// Nothing for the system's own commands and any other identifier.
MenuItem systemMenuItem(const std::vector<MenuItem>& items, WPARAM wParam);

// Whether a menu command's identifier is one of the clock's items, so that the
// system's own commands (a move, Alt alone) never build the clock's menu.
bool isClockCommand(WPARAM wParam);

}  // namespace shell
