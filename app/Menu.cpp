#include "app/Menu.h"

#include "app/Keys.h"

std::vector<MenuItem> menuItems(const MenuState& state) {
    return {
        {MenuItemKind::Radio, MenuCommand::Small, "Small", U'S', state.sizeKeyUnit == unitForKey(U'S')},
        {MenuItemKind::Radio, MenuCommand::Medium, "Medium", U'M', state.sizeKeyUnit == unitForKey(U'M')},
        {MenuItemKind::Radio, MenuCommand::Large, "Large", U'L', state.sizeKeyUnit == unitForKey(U'L')},
        {MenuItemKind::Check, MenuCommand::AlwaysOnTop, "Always on top", alwaysOnTopKey, state.alwaysOnTop},
        {MenuItemKind::Check, MenuCommand::StartAtLogin, "Start at login", 0, state.startsAtLogin},
        {MenuItemKind::Separator, MenuCommand::Nothing, "", 0, false},
        {MenuItemKind::Action, MenuCommand::About, "About Horavel", 0, false},
        {MenuItemKind::Action, MenuCommand::Close, "Close", 0, false},
    };
}

std::vector<MenuItem> withoutItem(std::vector<MenuItem> items, MenuCommand command) {
    std::erase_if(items, [command](const MenuItem& item) { return item.command == command; });
    return items;
}

std::vector<MenuItem> withDesktopItem(std::vector<MenuItem> items, bool onDesktop) {
    auto after = items.begin();
    for (auto item = items.begin(); item != items.end(); ++item) {
        if (item->kind == MenuItemKind::Check) {
            after = item + 1;
        }
    }
    items.insert(after, {MenuItemKind::Check, MenuCommand::OnTheDesktop, "On the desktop", 0, onDesktop});
    return items;
}

MenuCommand menuCommandForKey(const std::vector<MenuItem>& items, char32_t upperCaseKey) {
    for (const MenuItem& item : items) {
        if (upperCaseKey != 0 && item.key == upperCaseKey) {
            return item.command;
        }
    }
    return MenuCommand::Nothing;
}
