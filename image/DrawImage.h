#pragma once

#include <cstdint>

class Canvas;
class Image;

// Draws the image centred on (cx, cy), scaled uniformly to fit a dw × dh box of
// pixel-store pixels, through sampleBiquadratic when one canvas pixel covers at
// most 1.1 image pixels and sampleBox otherwise.
void drawImage(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
               const Image& image);
// drawImage for the canvas rows firstRow … lastRow alone: an image drawn in
// bands of rows comes out as one drawn at once.
void drawImageRows(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
                   const Image& image, std::int32_t firstRow, std::int32_t lastRow);
// drawImageRows with one sample for each block × block square of canvas
// pixels (on the canvas's grid of such squares, sampled at its centre), which
// all its pixels take: the same smooth interpolation at a fraction of the cost,
// for a picture that shows only until a finer one is ready. With block equal
// to a canvas's scale, one sample for each pixel the screen shows.
void drawImageRowsInBlocks(Canvas& canvas, std::int32_t cx, std::int32_t cy, std::int32_t dw, std::int32_t dh,
                           const Image& image, std::int32_t firstRow, std::int32_t lastRow, std::int32_t block);
