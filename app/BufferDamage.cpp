#include "app/BufferDamage.h"

void BufferDamage::forgetAll() {
    for (Lack& lack : lacks) {
        lack.everything = true;
        lack.areas.clear();
    }
}

std::vector<PixelRect> BufferDamage::paintInto(std::size_t buffer, const std::vector<PixelRect>& changed,
                                               const PixelRect& whole) {
    for (std::size_t other = 0; other < lacks.size(); ++other) {
        Lack& lack = lacks[other];
        if (other == buffer || lack.everything) {
            continue;
        }
        lack.areas.insert(lack.areas.end(), changed.begin(), changed.end());
        if (lack.areas.size() > areaLimit) {
            lack.everything = true;
            lack.areas.clear();
        }
    }
    Lack& own = lacks.at(buffer);
    std::vector<PixelRect> areas;
    if (own.everything) {
        areas.push_back(whole);
    } else {
        areas.swap(own.areas);
        areas.insert(areas.end(), changed.begin(), changed.end());
    }
    own = Lack{false, {}};
    return areas;
}
