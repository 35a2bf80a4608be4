#include "app/win32/NativeMenu.h"

#include <string>

namespace shell {

namespace {

// Identifiers of the clock's items: in a system menu the system keeps the low
// four bits of a command for itself, and its own commands start at 0xF000, so
// the clock's are multiples of 16 below that, one per command.
constexpr UINT commandStep = 0x10;
constexpr UINT firstCommandId = 0x100;
// The separator the clock puts before its items in the system menu.
constexpr UINT separatorId = firstCommandId;

UINT idOf(MenuCommand command) { return firstCommandId + commandStep * static_cast<UINT>(command); }

// The item's text: its label, and its key after a tab, where Windows shows keys.
std::wstring itemText(const MenuItem& item) {
    std::wstring text;
    for (const char c : item.label) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    if (item.key != 0) {
        text += L'\t';
        text += static_cast<wchar_t>(item.key);
    }
    return text;
}

void appendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
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
        info.wID = idOf(item.command);
        info.dwTypeData = text.data();
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
}

}  // namespace

MenuCommand trackPopupMenu(HWND window, const std::vector<MenuItem>& items, POINT atScreen) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return MenuCommand::Nothing;
    }
    appendItems(menu, items);
    // The menu's own loop, returning the chosen identifier rather than posting it.
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         atScreen.x, atScreen.y, 0, window, nullptr));
    DestroyMenu(menu);
    return systemMenuCommand(chosen);
}

void refreshSystemMenu(HWND window, const std::vector<MenuItem>& items) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        return;
    }
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id != static_cast<UINT>(-1) && id >= firstCommandId && id < 0xF000) {
            DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
        }
    }
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE | MIIM_ID;
    separator.fType = MFT_SEPARATOR;
    separator.wID = separatorId;
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &separator);
    appendItems(menu, items);
}

MenuCommand systemMenuCommand(WPARAM wParam) {
    const UINT id = static_cast<UINT>(wParam) & 0xFFF0;
    for (const MenuCommand command : {MenuCommand::Small, MenuCommand::Medium, MenuCommand::Large,
                                      MenuCommand::AlwaysOnTop, MenuCommand::StartAtLogin, MenuCommand::About,
                                      MenuCommand::Close}) {
        if (id == idOf(command)) {
            return command;
        }
    }
    return MenuCommand::Nothing;
}

}  // namespace shell
