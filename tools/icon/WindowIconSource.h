#pragma once

#include "IconPicture.h"

#include <span>
#include <string>

// A C++ source file that builds the pictures into the X11 program: it defines
// shell::windowIconCardinals() (app/x11/WindowIcon.h), the pictures as
// _NET_WM_ICON holds them — for each its width and height in pixels, then its
// pixels as ARGB with straight alpha, top row first.
std::string windowIconSource(std::span<const BgraPicture> pictures);
