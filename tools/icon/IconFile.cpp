#include "IconFile.h"

#include <cstddef>

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One picture as the file stores it: a bitmap header whose height counts the
// colour rows and the mask's together, the colour rows bottom first, then the
// one-bit mask, all clear because the alpha says what is transparent.
std::vector<std::uint8_t> iconImage(const BgraPicture& picture) {
    const auto size = static_cast<std::uint32_t>(picture.sizePx);
    const std::uint32_t maskRowBytes = (size + 31) / 32 * 4;
    std::vector<std::uint8_t> out;
    put32(out, 40);        // header size
    put32(out, size);      // width
    put32(out, 2 * size);  // height of colour and mask together
    put16(out, 1);         // planes
    put16(out, 32);        // bits per pixel
    put32(out, 0);         // no compression
    put32(out, size * size * 4 + maskRowBytes * size);
    for (int i = 0; i < 4; ++i) {
        put32(out, 0);  // resolution and palette: unused
    }
    for (std::uint32_t row = size; row-- > 0;) {
        const std::uint8_t* first = picture.pixels.data() + static_cast<std::size_t>(row) * size * 4;
        out.insert(out.end(), first, first + static_cast<std::size_t>(size) * 4);
    }
    out.insert(out.end(), static_cast<std::size_t>(maskRowBytes) * size, 0);
    return out;
}

}  // namespace

std::vector<std::uint8_t> iconFile(std::span<const BgraPicture> pictures) {
    std::vector<std::vector<std::uint8_t>> images;
    for (const BgraPicture& picture : pictures) {
        images.push_back(iconImage(picture));
    }
    std::vector<std::uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(pictures.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        // 256 pixels are written as 0, the byte's way of saying 256.
        const auto side = static_cast<std::uint8_t>(pictures[i].sizePx & 0xFF);
        out.push_back(side);
        out.push_back(side);
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        put16(out, 1);     // planes
        put16(out, 32);    // bits per pixel
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}
