#pragma once

#include <cstdint>
#include <vector>

class Image;

// A square picture with straight alpha: four bytes a pixel, blue, green, red and
// alpha (255 opaque), rows top first.
struct BgraPicture {
    std::int32_t sizePx = 0;  // width and height, pixels
    std::vector<std::uint8_t> pixels;
};

// The clock's dial as the program's icon, drawn large by the clock's own code:
// the Earth as seen from the Sun at a fixed moment, the 60 tick marks at its rim
// and the hands at 10:08:30; round, transparent outside the marks. Without
// numerals or text, so that every platform draws the same icon.
BgraPicture drawIconMaster(const Image& earthTexture, const Image& moonTexture);

// The picture reduced to sizePx × sizePx: each pixel the area-weighted mean of
// the pixels it covers, colours weighted by their alpha.
BgraPicture reduce(const BgraPicture& master, std::int32_t sizePx);
