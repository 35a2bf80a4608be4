#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <memory>

class Canvas;
class Image;

// The two rendered globe pictures, null before the first rendering. Each is a copy
// of the globe canvas: 14U × 14U, or (14U + 2) × 14U for an odd U, whose canvas
// rows are widened to a multiple of four bytes.
struct GlobePictures {
    std::unique_ptr<Image> earthGlobe;  // the Earth seen from the centre of the Sun
    std::unique_ptr<Image> moonGlobe;   // the Moon seen from the centre of the Earth
    // Raised each time the pictures are replaced, so that whoever keeps something
    // drawn from them can tell without comparing pixels. Code that replaces a
    // picture by other means raises it too.
    std::uint64_t generation = 0;
    GlobePictures();
    ~GlobePictures();
    GlobePictures(GlobePictures&&) noexcept;
    GlobePictures& operator=(GlobePictures&&) noexcept;
};

// Ray-traces the Earth and the Moon for the clock's present universal time into
// globeCanvas (14U × 14U, three-byte pixels) and replaces both pictures. A texture
// may be null or invalid: that body's disc then stays black. For a unit below 1 or
// a canvas without pixels both pictures are dropped and nothing is drawn.
void renderGlobes(Canvas& globeCanvas, std::int32_t unit, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures);
