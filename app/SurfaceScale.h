#pragma once

#include "raster/PixelGeometry.h"

#include <cstdint>

// How a window system that counts its surfaces in logical pixels scales them to
// the screen's own: a scale in 120ths (120 is 100 %, 240 is 200 %, 180 is 150 %),
// as compositors state fractional scales; whole scales are multiples of 120.
inline constexpr std::int32_t scaleDenominator = 120;

// The resolution that stands for a scale, dots per inch: 96 at 100 %, the unit
// following it as it follows a screen's resolution elsewhere. Scales under 50 %
// count as 100 %.
std::int32_t dpiForScale(std::int32_t scale120);

// The logical size of a surface showing a picture of bufferPx pixels at the
// scale, rounded to the nearest logical pixel, at least 1 × 1.
PixelSize logicalSize(PixelSize bufferPx, std::int32_t scale120);

// The picture's size in pixels for a logical size, rounded to the nearest pixel.
PixelSize bufferSize(PixelSize logical, std::int32_t scale120);

// How a surface shows a picture drawn at the screen's own pixels: the buffer
// scale it declares, and whether a viewport stretches the buffer to logicalSize
// instead. A whole scale that divides the picture's width and height is
// declared as the buffer scale; anything else (a fractional scale, a picture of
// odd size at 200 %) needs a viewport, and without one the picture is shown at
// buffer scale 1, one logical pixel per pixel.
struct SurfaceScaling {
    std::int32_t bufferScale = 1;
    bool viewport = false;
    PixelSize logical;  // the surface's size, logical pixels
};
SurfaceScaling surfaceScaling(PixelSize bufferPx, std::int32_t scale120, bool viewportOffered);
