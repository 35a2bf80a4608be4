#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <memory>

class Canvas;
class Image;

// The two rendered globe pictures, each 14U × 14U: null before the first rendering.
struct GlobePictures {
    std::unique_ptr<Image> earthGlobe;  // the Earth seen from the centre of the Sun
    std::unique_ptr<Image> moonGlobe;   // the Moon seen from the centre of the Earth
    GlobePictures();
    ~GlobePictures();
    GlobePictures(GlobePictures&&) noexcept;
    GlobePictures& operator=(GlobePictures&&) noexcept;
};

// Ray-traces the Earth and the Moon for the clock's present universal time into
// globeCanvas (14U × 14U) and replaces both pictures. A texture may be null or
// invalid: that body's disc then stays black.
void renderGlobes(Canvas& globeCanvas, std::int32_t unit, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures);
