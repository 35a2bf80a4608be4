#pragma once

#include "IconPicture.h"

#include <cstdint>
#include <span>
#include <vector>

// A Windows icon file holding the pictures, each as a 32-bit image with its
// alpha (sizes up to 256 pixels): the bytes of the whole file.
std::vector<std::uint8_t> iconFile(std::span<const BgraPicture> pictures);
