#pragma once

#include "clockface/DialGeometry.h"
#include "raster/Canvas.h"
#include "raster/Color.h"

#include <array>
#include <cstdint>

// One hand as a slim triangle about the dial's centre: the tip at lengthPx along
// angleDeg, the two base corners at halfWidthPx, 135° either side of the tip, so
// the base crosses the far side of the centre. Filled, then outlined in the same
// colour, which also covers the thin parts the scanline fill misses.
void drawHand(Canvas& clockCanvas, const DialGeometry& dial, std::int32_t lengthPx,
              const Color& color, double angleDeg, std::int32_t halfWidthPx);

// The three hands at the face's time: hour, minute, then second on top.
void drawHands(Canvas& clockCanvas, const DialGeometry& dial, double hours, double minutes,
               double seconds);

// The store pixels the three hands of drawHands can touch, hour, minute and
// second: each hand's corners with a pixel's margin around them.
std::array<StoreRect, 3> handExtents(const DialGeometry& dial, double hours, double minutes, double seconds);
