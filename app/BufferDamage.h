#pragma once

#include "raster/PixelGeometry.h"

#include <cstddef>
#include <vector>

// What each of a shell's buffers lacks of the picture shown now, for a window
// system that lends buffers to the screen and hands them back later: a buffer
// taken again is some pictures old, and is brought up to date by painting what
// changed since it was last painted, not the whole picture.
class BufferDamage {
public:
    explicit BufferDamage(std::size_t buffers) : lacks(buffers) {}

    // Every buffer lacks everything: a new size or a new layout.
    void forgetAll();
    // The areas to paint into the buffer so that it shows the picture with
    // changed applied: what it lacked before and changed, or the whole picture
    // when it lacked everything. The buffer then lacks nothing, and every other
    // one lacks changed as well.
    std::vector<PixelRect> paintInto(std::size_t buffer, const std::vector<PixelRect>& changed,
                                     const PixelRect& whole);

private:
    // More areas than this count as the whole picture: painting it once is
    // cheaper than keeping a long list for a buffer the screen holds on to.
    static constexpr std::size_t areaLimit = 32;

    struct Lack {
        bool everything = true;
        std::vector<PixelRect> areas;
    };
    std::vector<Lack> lacks;
};
