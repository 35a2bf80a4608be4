#pragma once

#include <windows.h>

#include <string>

namespace shell {

// Asks for the IANA name of a time zone in a small modal dialog over the
// window: a line to type it into, OK and Cancel. The name typed, UTF-8,
// without the spaces around it; empty when the dialog was cancelled. OK stays
// greyed while nothing but spaces is typed.
std::string askForZone(HWND owner);

}  // namespace shell
