#include "app/MenuSession.h"

namespace {

// The keysyms of the keys an open menu answers, as the X11 protocol numbers
// them and XKB after it.
enum Keysym : std::uint32_t {
    space = 0x20,
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

}  // namespace

bool MenuSession::selectable(std::int32_t item) const {
    return item >= 0 && item < static_cast<std::int32_t>(shown.size()) &&
           shown[static_cast<std::size_t>(item)].kind != MenuItemKind::Separator;
}

std::int32_t MenuSession::step(std::int32_t from, std::int32_t direction) const {
    const auto count = static_cast<std::int32_t>(shown.size());
    std::int32_t item = from;
    for (std::int32_t tries = 0; tries < count; ++tries) {
        item = ((item + direction) % count + count) % count;
        if (selectable(item)) {
            return item;
        }
    }
    return -1;
}

MenuOutcome MenuSession::key(MenuKey pressed) {
    const auto count = static_cast<std::int32_t>(shown.size());
    switch (pressed) {
    case MenuKey::Down:
        lit = step(lit < 0 ? -1 : lit, 1);
        break;
    case MenuKey::Up:
        lit = step(lit < 0 ? count : lit, -1);
        break;
    case MenuKey::Home:
        lit = step(-1, 1);
        break;
    case MenuKey::End:
        lit = step(count, -1);
        break;
    case MenuKey::Enter:
        return {true, selectable(lit) ? shown[static_cast<std::size_t>(lit)].command : MenuCommand::Nothing};
    case MenuKey::Escape:
        return {true, MenuCommand::Nothing};
    }
    return {};
}

MenuOutcome MenuSession::letter(char32_t upperCaseKey) {
    const MenuCommand command = menuCommandForKey(shown, upperCaseKey);
    if (command == MenuCommand::Nothing) {
        return {};
    }
    return {true, command};
}

bool MenuSession::pointAt(std::int32_t item) {
    const std::int32_t now = selectable(item) ? item : -1;
    if (now == lit) {
        return false;
    }
    lit = now;
    return true;
}

MenuOutcome MenuSession::release(std::int32_t item) {
    if (!selectable(item)) {
        return {};
    }
    return {true, shown[static_cast<std::size_t>(item)].command};
}

MenuOutcome MenuSession::keysym(std::uint32_t symbol, char32_t upperCaseKey) {
    switch (symbol) {
    case Up:
    case KpUp:
        return key(MenuKey::Up);
    case Down:
    case KpDown:
        return key(MenuKey::Down);
    case Home:
    case KpHome:
        return key(MenuKey::Home);
    case End:
    case KpEnd:
        return key(MenuKey::End);
    case Return:
    case KpEnter:
    case space:
        return key(MenuKey::Enter);
    case Escape:
    case Menu:
    case F10:
        return key(MenuKey::Escape);
    default:
        return letter(upperCaseKey);
    }
}
