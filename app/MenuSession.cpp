#include "app/MenuSession.h"

#include "app/Keys.h"
#include "app/Utf8Text.h"

namespace {

// Whether the character can be typed into an entry: not a control (C0, DEL or
// C1), not a surrogate, and within Unicode.
bool printable(char32_t c) {
    return c >= 0x20 && !(c >= 0x7F && c <= 0x9F) && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

}  // namespace

MenuSession::MenuSession(std::vector<MenuItem> menuItems) : shown(std::move(menuItems)) {
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].kind == MenuItemKind::Entry) {
            entry = static_cast<std::int32_t>(i);
        }
    }
}

bool MenuSession::selectable(std::int32_t item) const {
    if (item < 0 || item >= static_cast<std::int32_t>(shown.size())) {
        return false;
    }
    const MenuItemKind kind = shown[static_cast<std::size_t>(item)].kind;
    return kind != MenuItemKind::Separator && kind != MenuItemKind::Heading;
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

MenuOutcome MenuSession::choose(std::int32_t item) const {
    if (!selectable(item)) {
        return {};
    }
    const MenuItem& chosen = shown[static_cast<std::size_t>(item)];
    if (chosen.kind != MenuItemKind::Entry) {
        return {true, chosen.command, chosen.zone};
    }
    std::string typed = trimmedZone(chosen.zone);
    if (typed.empty()) {
        return {};
    }
    return {true, chosen.command, std::move(typed)};
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
        // An entry with nothing typed yet keeps the menu open.
        return selectable(lit) ? choose(lit) : MenuOutcome{true, MenuCommand::Nothing, {}};
    case MenuKey::Escape:
        return {true, MenuCommand::Nothing, {}};
    case MenuKey::Backspace:
        if (entry >= 0) {
            eraseLastCodePoint(shown[static_cast<std::size_t>(entry)].zone);
            lit = entry;
        }
        break;
    }
    return {};
}

MenuOutcome MenuSession::letter(char32_t upperCaseKey) {
    const MenuCommand command = menuCommandForKey(shown, upperCaseKey);
    if (command == MenuCommand::Nothing) {
        return {};
    }
    return {true, command, {}};
}

bool MenuSession::type(char32_t character) {
    // No zone's name is longer; more would only slow the picture down.
    constexpr std::size_t longestTypedBytes = 128;
    if (entry < 0 || !printable(character) || shown[static_cast<std::size_t>(entry)].zone.size() >= longestTypedBytes) {
        return false;
    }
    appendUtf8(shown[static_cast<std::size_t>(entry)].zone, character);
    lit = entry;
    return true;
}

bool MenuSession::pointAt(std::int32_t item) {
    const std::int32_t now = selectable(item) ? item : -1;
    if (now == lit) {
        return false;
    }
    lit = now;
    return true;
}

bool MenuSession::opensOnKey(std::uint32_t symbol, bool shift) {
    return symbol == keysym::Menu || (symbol == keysym::F10 && shift);
}

MenuOutcome MenuSession::release(std::int32_t item) {
    if (!pressedInside && !movedAway) {
        return {};
    }
    return choose(item);
}

MenuOutcome MenuSession::keysym(std::uint32_t symbol, char32_t typed) {
    switch (symbol) {
    case keysym::Up:
    case keysym::KpUp:
        return key(MenuKey::Up);
    case keysym::Down:
    case keysym::KpDown:
        return key(MenuKey::Down);
    case keysym::Home:
    case keysym::KpHome:
        return key(MenuKey::Home);
    case keysym::End:
    case keysym::KpEnd:
        return key(MenuKey::End);
    case keysym::Return:
    case keysym::KpEnter:
        return key(MenuKey::Enter);
    case keysym::Escape:
    case keysym::Menu:
    case keysym::F10:
        return key(MenuKey::Escape);
    case keysym::BackSpace:
        return key(MenuKey::Backspace);
    case keysym::space:
        if (entry >= 0) {
            type(U' ');
            return {};
        }
        return key(MenuKey::Enter);
    default:
        if (type(typed)) {
            return {};
        }
        return letter(letterOfKeysym(symbol));
    }
}
