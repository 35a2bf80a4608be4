#pragma once

#include "clockface/FaceGrid.h"
#include "raster/PixelGeometry.h"

#include <cstdint>

// The resolution at which the units of the S, M and L keys and the first start
// are the pixels they name, dots per inch (100 %).
inline constexpr std::int32_t baseDpi = 96;

// The units a window may have, pixels: the settings file, a drag of the border,
// a key and a change of screen all stay within them, and the window system is
// told the sizes they give. Below 8 the numerals are unreadable; at 200 the
// client area is 1400 × 3200 pixels, taller than any screen made, and the
// clock's pictures take some 150 MB.
inline constexpr std::int32_t smallestWindowUnit = 8;
inline constexpr std::int32_t largestWindowUnit = 200;

// The unit held to at most largestWindowUnit; smaller ones stand.
std::int32_t boundedUnit(std::int32_t unit);

// A unit of fromDpi's pixels in toDpi's pixels, cut toward zero, at least 1: the
// same physical size on a screen of another resolution.
std::int32_t unitAtDpi(std::int32_t unit, std::int32_t fromDpi, std::int32_t toDpi);

// The layout unit a client area of this height holds: floor(height / 16). A
// negative height counts as 0.
std::int32_t unitFromClientHeight(std::int32_t clientHeightPx);

// Whether the canvases can be built for this unit. Below 1 they would have no
// pixels at all (a minimised window has a client height under 16).
bool isUsableUnit(std::int32_t unit);

// The edge or corner the user drags, as the window system numbers them.
enum SizingEdge : std::int32_t {
    SizingLeft = 1,
    SizingRight = 2,
    SizingTop = 3,
    SizingTopLeft = 4,
    SizingTopRight = 5,
    SizingBottom = 6,
    SizingBottomLeft = 7,
    SizingBottomRight = 8,
};

// Holds a rectangle proposed while the border is dragged to the 7:16 grid: a
// horizontal drag sets the height from the width; every other drag sets the width
// from the height and leaves the dragged height alone. Edges outside 1…8 leave
// the rectangle unchanged.
void constrainSizing(std::int32_t edge, PixelRect& rect, std::int32_t frameWidthPx,
                     std::int32_t frameHeightPx);

// The same rule for a window system that reports a finished size change instead
// of the drag itself: a change of the width alone sets the height from the width,
// any other change sets the width from the height. An unchanged size stays as it is.
PixelSize snapClientSize(PixelSize previous, PixelSize proposed);
