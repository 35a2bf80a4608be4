#pragma once

#include "app/Menu.h"

#include <windows.h>

#include <vector>

namespace shell {

// The clock's menu as Windows shows menus: a popup at a point, and the same
// items below the window's own entries in its system menu.

// Shows the items as a popup at (x, y), screen pixels, and waits until one is
// chosen or the menu is dismissed: the command chosen, or Nothing.
MenuCommand trackPopupMenu(HWND window, const std::vector<MenuItem>& items, POINT atScreen);

// Puts the items, after a separator, at the end of the window's system menu,
// replacing those put there before, so that their marks are those of now.
void refreshSystemMenu(HWND window, const std::vector<MenuItem>& items);

// The command of a WM_SYSCOMMAND that one of those items sent, or Nothing for the
// system's own commands.
MenuCommand systemMenuCommand(WPARAM wParam);

}  // namespace shell
