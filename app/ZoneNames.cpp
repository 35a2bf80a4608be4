#include "app/ZoneNames.h"

#include "app/Menu.h"

#include <algorithm>

std::string placeOfZone(std::string_view zone) {
    const std::size_t slash = zone.rfind('/');
    std::string place(slash == std::string_view::npos ? zone : zone.substr(slash + 1));
    std::replace(place.begin(), place.end(), '_', ' ');
    return place;
}

std::string clockTitle(std::string_view zone) {
    return zone.empty() ? std::string("Horavel") : "Horavel \u2014 " + zonePlace(zone);
}
