#include "app/Menu.h"

#include "app/Keys.h"
#include "app/ZoneNames.h"

namespace {

// A well-known place of the choice of zones.
struct Place {
    std::string_view region;
    std::string_view name;
    std::string_view zone;  // its IANA name
};

// From west to east, by region: the places most people know the time of.
constexpr Place places[] = {
    {"Americas", "Los Angeles", "America/Los_Angeles"},
    {"Americas", "Denver", "America/Denver"},
    {"Americas", "Chicago", "America/Chicago"},
    {"Americas", "New York", "America/New_York"},
    {"Americas", "S\u00e3o Paulo", "America/Sao_Paulo"},
    {"Europe", "London", "Europe/London"},
    {"Europe", "Paris", "Europe/Paris"},
    {"Europe", "Berlin", "Europe/Berlin"},
    {"Europe", "Moscow", "Europe/Moscow"},
    {"Africa", "Cairo", "Africa/Cairo"},
    {"Africa", "Johannesburg", "Africa/Johannesburg"},
    {"Asia", "Dubai", "Asia/Dubai"},
    {"Asia", "Kolkata", "Asia/Kolkata"},
    {"Asia", "Shanghai", "Asia/Shanghai"},
    {"Asia", "Tokyo", "Asia/Tokyo"},
    {"Oceania", "Sydney", "Australia/Sydney"},
    {"Oceania", "Auckland", "Pacific/Auckland"},
};

const Place* listedPlace(std::string_view zone) {
    for (const Place& place : places) {
        if (place.zone == zone) {
            return &place;
        }
    }
    return nullptr;
}

MenuItem separator() { return {MenuItemKind::Separator, MenuCommand::Nothing, "", 0, false, ""}; }

// An item of the choice of zones that chooses the zone (empty for local time).
MenuItem zoneChoice(MenuItemKind kind, std::string label, bool marked, std::string_view zone) {
    return {kind, MenuCommand::ChooseZone, std::move(label), 0, marked, std::string(zone)};
}

}  // namespace

std::vector<MenuItem> menuItems(const MenuState& state) {
    MenuItem timeZone{MenuItemKind::Submenu, MenuCommand::TimeZone, "Time zone", 0, false, std::string(state.zone)};
    if (!state.zone.empty()) {
        timeZone.label += ": " + zonePlace(state.zone);
    }
    return {
        {MenuItemKind::Radio, MenuCommand::Small, "Small", U'S', state.sizeKeyUnit == unitForKey(U'S'), ""},
        {MenuItemKind::Radio, MenuCommand::Medium, "Medium", U'M', state.sizeKeyUnit == unitForKey(U'M'), ""},
        {MenuItemKind::Radio, MenuCommand::Large, "Large", U'L', state.sizeKeyUnit == unitForKey(U'L'), ""},
        {MenuItemKind::Check, MenuCommand::AlwaysOnTop, "Always on top", alwaysOnTopKey, state.alwaysOnTop, ""},
        {MenuItemKind::Check, MenuCommand::StartAtLogin, "Start at login", 0, state.startsAtLogin, ""},
        separator(),
        {MenuItemKind::Check, MenuCommand::WeekStartsOnMonday, "Week starts on Monday", 0,
         state.weekStartsOnMonday, ""},
        {MenuItemKind::Check, MenuCommand::Earthshine, "Earthshine", 0, state.earthshine, ""},
        timeZone,
        separator(),
        {MenuItemKind::Action, MenuCommand::About, "About Horavel", 0, false, ""},
        {MenuItemKind::Action, MenuCommand::Close, "Close", 0, false, ""},
    };
}

std::vector<MenuItem> zoneMenuItems(std::string_view currentZone) {
    std::vector<MenuItem> items{zoneChoice(MenuItemKind::Radio, "Local time", currentZone.empty(), "")};
    std::string_view region;
    for (const Place& place : places) {
        if (place.region != region) {
            region = place.region;
            items.push_back({MenuItemKind::Heading, MenuCommand::Nothing, std::string(region), 0, false, ""});
        }
        items.push_back(zoneChoice(MenuItemKind::Radio, std::string(place.name), place.zone == currentZone, place.zone));
    }
    items.push_back(separator());
    // A zone typed before stays in the choice while the clock shows it.
    if (!currentZone.empty() && listedPlace(currentZone) == nullptr) {
        items.push_back(zoneChoice(MenuItemKind::Radio, zonePlace(currentZone), true, currentZone));
    }
    items.push_back(zoneChoice(MenuItemKind::Entry, "Other", false, ""));
    return items;
}

std::string zonePlace(std::string_view zone) {
    const Place* place = listedPlace(zone);
    return place != nullptr ? std::string(place->name) : placeOfZone(zone);
}

std::string trimmedZone(std::string_view typed) {
    const std::size_t first = typed.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(typed.substr(first, typed.find_last_not_of(' ') + 1 - first));
}

std::vector<MenuItem> withoutItem(std::vector<MenuItem> items, MenuCommand command) {
    std::erase_if(items, [command](const MenuItem& item) { return item.command == command; });
    return items;
}

std::vector<MenuItem> withDesktopItem(std::vector<MenuItem> items, bool onDesktop) {
    auto after = items.begin();
    for (auto item = items.begin(); item != items.end() && item->kind != MenuItemKind::Separator; ++item) {
        if (item->kind == MenuItemKind::Check) {
            after = item + 1;
        }
    }
    items.insert(after, {MenuItemKind::Check, MenuCommand::OnTheDesktop, "On the desktop", 0, onDesktop, ""});
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
