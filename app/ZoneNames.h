#pragma once

#include <string>
#include <string_view>

// The place an IANA zone is named after, as a window title shows it: the last
// part of the name with spaces for underscores ("America/New_York" gives
// "New York", "America/Argentina/Buenos_Aires" "Buenos Aires").
std::string placeOfZone(std::string_view zone);

// The title of a clock's window: "Horavel" for local time, "Horavel — Tokyo"
// for the zone Asia/Tokyo, the place named as the menu's choice of zones
// names it ("Horavel — São Paulo").
std::string clockTitle(std::string_view zone);
