#pragma once

#include "astro/Globes.h"
#include "clockface/DialBackground.h"
#include "clockface/FaceGrid.h"
#include "clockface/FaceOptions.h"
#include "clockface/MinuteWork.h"
#include "image/Image.h"
#include "raster/Canvas.h"
#include "text/TextRenderer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// What the clock canvas shows since the last drawClockFace, so that the next
// one redraws only what moved: the background it stands on and where the hands
// and the date line are.
struct FaceFrame {
    bool valid = false;              // the canvas holds a whole face; false after a rebuild
    Globe globe = Globe::Earth;      // the globe behind it
    const Image* picture = nullptr;  // its picture, only compared
    std::uint64_t pictureGeneration = 0;
    std::array<StoreRect, 3> hands;  // what the hour, minute and second hands may have touched
    std::string dateText;            // the date line as drawn
    StoreRect dateArea;              // what it may have touched
};

// Everything the clock face and the calendar draw from and into. The application
// owns one; a rebuild replaces the canvases and the text renderer together.
struct FaceState {
    std::int32_t unit = defaultUnit;                     // layout unit U, pixels
    FaceOptions options;                                 // what the user chose to change in the pictures
    std::int32_t clientWidth = gridColumns * defaultUnit;  // 7U, pixels
    std::int32_t halfHeight = faceRows * defaultUnit;      // 8U, pixels: the height of each window canvas
    std::unique_ptr<Canvas> clockCanvas;     // 7U × 8U, supersampling factor 2
    std::unique_ptr<Canvas> calendarCanvas;  // 7U × 8U, factor 1
    std::unique_ptr<Canvas> globeCanvas;     // 14U × 14U, factor 1: the globes' working surface
    std::unique_ptr<TextRenderer> textRenderer;
    Image earthTexture;  // loaded once at start from Earth.png
    Image moonTexture;   // loaded once at start from Moon.png
    GlobePictures globes;
    DialBackground dialBackground;  // the globe, marks and numerals, kept between ticks
    FaceFrame lastFrame;            // what the clock canvas shows now
    MinuteWork minuteWork;          // the next minute's pictures, made ahead
    // The day the calendar canvas shows as today (calendarDay), so that a jump
    // of the wall clock to another day redraws it at the next tick.
    std::optional<std::int32_t> calendarDay;

    void setUnit(std::int32_t newUnit) {
        unit = newUnit;
        clientWidth = gridColumns * newUnit;
        halfHeight = faceRows * newUnit;
    }
};

// Whether this canvas of the face exists and holds pixels, and the text renderer
// is there to draw with: what drawing on it needs.
inline bool canDrawOn(const FaceState& face, const std::unique_ptr<Canvas>& canvas) {
    return canvas && canvas->hasPixels() && face.textRenderer;
}

// Whether all three canvases can be drawn on, so that drawing and painting may
// go ahead.
inline bool surfacesReady(const FaceState& face) {
    return canDrawOn(face, face.clockCanvas) && canDrawOn(face, face.calendarCanvas) &&
           canDrawOn(face, face.globeCanvas);
}
