#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "astro/Globes.h"
#include "raster/Canvas.h"

class Image;
class TextRenderer;

// The part of the clock face that changes only when its globe picture or the
// layout does: the cleared canvas, the globe picture, the tick marks and the
// numerals. It is drawn once per picture and copied into the canvas on every
// tick, which keeps the picture identical while the tick stays cheap.
class DialBackground {
public:
    // Puts the background for this globe's picture (null: no picture yet) into
    // the canvas's pixel store, drawing it first when the picture, its generation
    // (raised whenever the picture is replaced), the canvas's size or the unit
    // differ from what the globe's layer was drawn for.
    void restore(Canvas& clockCanvas, std::int32_t unit, Globe globe, const Image* picture,
                 std::uint64_t pictureGeneration, TextRenderer& textRenderer);
    // Puts the background that the last restore put into the canvas back into
    // area of it alone: 1, or 0 when there is none for this canvas.
    [[nodiscard]] std::int32_t restoreArea(Canvas& clockCanvas, const StoreRect& area) const;
    // True when the globe's layer holds the background for this picture and
    // canvas, so that a restore of it is a copy.
    bool holds(Globe globe, const Canvas& clockCanvas, std::int32_t unit, const Image* picture,
               std::uint64_t pictureGeneration) const;
    // Takes a background drawn on another canvas of the clock canvas's size (by
    // drawPictureRows over all its rows, then drawMarks) as the globe's layer for
    // this picture and generation. A layer taken for the background the canvas
    // shows leaves restoreArea without one until the next restore.
    void install(Globe globe, const Canvas& drawn, std::int32_t unit, const Image* picture,
                 std::uint64_t pictureGeneration);
    // The store pixels of the backgrounds that restore has drawn, rather than
    // copied, from a picture of the dial's own size: the costly sampling, which
    // the minute's work otherwise does in steps.
    std::int64_t finePixelsDrawn() const { return finePixels; }

    // The drawing of a background, in steps that may be spread out: after a
    // clear, the rows firstRow … lastRow of the globe picture (null: none) on the
    // dial, and at last the tick marks and the numerals over it. A picture
    // traced for another unit is scaled onto the dial with one sample for each
    // pixel the screen shows.
    static void drawPictureRows(Canvas& canvas, std::int32_t unit, const Image* picture, std::int32_t firstRow,
                                std::int32_t lastRow);
    static void drawMarks(Canvas& canvas, std::int32_t unit, TextRenderer& textRenderer);

private:
    struct Layer {
        bool valid = false;
        std::int32_t unit = 0;
        std::int32_t canvasWidth = 0;
        std::int32_t canvasHeight = 0;
        std::int32_t canvasScale = 0;
        const Image* picture = nullptr;  // only compared, never read
        std::uint64_t pictureGeneration = 0;
        std::vector<std::uint8_t> pixels;  // the canvas's pixel store after drawing, from Canvas::copyStore
    };

    static bool matches(const Layer& layer, const Canvas& canvas, std::int32_t unit,
                        const Image* picture, std::uint64_t pictureGeneration);
    static void keep(Layer& layer, const Canvas& canvas, std::int32_t unit, const Image* picture,
                     std::uint64_t pictureGeneration);

    // One layer for each globe, so that switching between the Earth and the Moon
    // every 15 seconds redraws nothing.
    Layer layers[2];
    std::int32_t lastRestored = -1;  // the layer the last restore put into the canvas, or -1
    std::int64_t finePixels = 0;     // see finePixelsDrawn
};
