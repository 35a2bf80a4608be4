#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "raster/Canvas.h"

class Image;
class TextRenderer;

// The part of the clock face that changes only when its globe picture or the
// layout does: the cleared canvas, the globe picture, the tick marks and the
// numerals. It is drawn once per picture and copied into the canvas on every
// tick, which keeps the picture identical while the tick stays cheap.
class DialBackground {
public:
    // Puts the background for this picture (null: no picture yet) into the
    // canvas's pixel store, drawing it first when the picture, its generation
    // (raised whenever the globe pictures are replaced), the canvas's size or the
    // unit differ from what was drawn last.
    void restore(Canvas& clockCanvas, std::int32_t unit, const Image* picture,
                 std::uint64_t pictureGeneration, TextRenderer& textRenderer);
    // Puts the background that the last restore put into the canvas back into
    // area of it alone: 1, or 0 when there is none for this canvas.
    [[nodiscard]] std::int32_t restoreArea(Canvas& clockCanvas, const StoreRect& area) const;

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
    static void draw(Layer& layer, Canvas& canvas, std::int32_t unit, const Image* picture,
                     TextRenderer& textRenderer);

    // One layer for each picture the face alternates between, so that switching
    // between the Earth and the Moon every 15 seconds redraws nothing.
    Layer layers[2];
    std::int32_t nextLayer = 0;
    std::int32_t lastRestored = -1;  // the layer the last restore put into the canvas, or -1
};
