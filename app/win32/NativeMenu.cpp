#include "app/win32/NativeMenu.h"

#include "app/win32/WideText.h"

#include <string>

namespace shell {

namespace {

// Identifiers of the clock's items: in a system menu the system keeps the low
// four bits of a command for itself, and its own commands start at 0xF000, so
// the clock's are multiples of 16 below that: one per command from 0x100, one
// per item of a submenu (the choice of zones) from 0x1000.
constexpr UINT commandStep = 0x10;
constexpr UINT firstCommandId = 0x100;
constexpr UINT firstSubmenuItemId = 0x1000;
constexpr UINT systemCommandsId = 0xF000;
// The separator the clock puts before its items in the system menu.
constexpr UINT separatorId = firstCommandId;

UINT idOf(MenuCommand command) { return firstCommandId + commandStep * static_cast<UINT>(command); }

UINT submenuItemId(std::size_t index) { return firstSubmenuItemId + commandStep * static_cast<UINT>(index); }

// The items a submenu opens: the choice of zones, the zone shown now marked.
std::vector<MenuItem> submenuOf(const MenuItem& item) { return zoneMenuItems(item.zone); }

// The item's text: its label, an ellipsis after an entry's, whose name a
// dialog asks for, and its key after a tab, where Windows shows keys.
std::wstring itemText(const MenuItem& item) {
    std::wstring text = wideFromUtf8(item.label);
    if (item.kind == MenuItemKind::Entry) {
        text += L'\u2026';
    }
    if (item.key != 0) {
        text += L'\t';
        text += static_cast<wchar_t>(item.key);
    }
    return text;
}

// Appends the items; those of a submenu (submenu true) take identifiers by
// their place in it, the others by their command.
void appendItems(HMENU menu, const std::vector<MenuItem>& items, bool submenu) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
        if (item.kind == MenuItemKind::Separator) {
            info.fMask = MIIM_FTYPE | MIIM_ID;
            info.fType = MFT_SEPARATOR;
            info.wID = separatorId + 1;
            InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
            continue;
        }
        std::wstring text = itemText(item);
        info.fType = item.kind == MenuItemKind::Radio ? MFT_STRING | MFT_RADIOCHECK : MFT_STRING;
        info.fState = item.marked ? MFS_CHECKED : MFS_UNCHECKED;
        info.wID = submenu ? submenuItemId(i) : idOf(item.command);
        info.dwTypeData = text.data();
        if (item.kind == MenuItemKind::Heading) {
            info.fState = MFS_DISABLED;
        } else if (item.kind == MenuItemKind::Submenu) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = CreatePopupMenu();
            if (info.hSubMenu == nullptr) {
                continue;
            }
            appendItems(info.hSubMenu, submenuOf(item), true);
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
}

// The identifier of the item at the position; 0 for none.
UINT idAt(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) ? info.wID : 0;
}

MenuItem itemOfId(const std::vector<MenuItem>& items, UINT id) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItemKind::Submenu) {
            const std::vector<MenuItem> choices = submenuOf(item);
            for (std::size_t i = 0; i < choices.size(); ++i) {
                if (id == submenuItemId(i) && choices[i].command != MenuCommand::Nothing) {
                    return choices[i];
                }
            }
        } else if (item.command != MenuCommand::Nothing && id == idOf(item.command)) {
            return item;
        }
    }
    return {};
}

}  // namespace

MenuItem trackPopupMenu(HWND window, const std::vector<MenuItem>& items, POINT atScreen) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return {};
    }
    appendItems(menu, items, false);
    // The menu's own loop, returning the chosen identifier rather than posting it.
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         atScreen.x, atScreen.y, 0, window, nullptr));
    DestroyMenu(menu);
    return chosen == 0 ? MenuItem{} : itemOfId(items, chosen);
}

void refreshSystemMenu(HWND window, const std::vector<MenuItem>& items) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        return;
    }
    // The clock's items go, the submenu with its own.
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        const UINT id = idAt(menu, i);
        if (id >= firstCommandId && id < systemCommandsId) {
            DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
        }
    }
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE | MIIM_ID;
    separator.fType = MFT_SEPARATOR;
    separator.wID = separatorId;
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &separator);
    appendItems(menu, items, false);
}

bool isClockCommand(WPARAM wParam) {
    const UINT id = static_cast<UINT>(wParam) & 0xFFF0;
    return id >= firstCommandId && id < systemCommandsId;
}

MenuItem systemMenuItem(const std::vector<MenuItem>& items, WPARAM wParam) {
    if (!isClockCommand(wParam)) {
        return {};
    }
    return itemOfId(items, static_cast<UINT>(wParam) & 0xFFF0);
}

}  // namespace shell
