#pragma once

#include "raster/Canvas.h"
#include "raster/PaintTarget.h"
#include "raster/PixelGeometry.h"
#include "text/TextRenderer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Where the parts of a message lie when the clock draws it in a window of its
// own, pixels with y down from the top.
struct MessageLayout {
    std::int32_t widthPx = 0;       // a multiple of 4, as canvases are painted
    std::int32_t heightPx = 0;
    std::int32_t textHeightPx = 0;  // the text's height
    std::int32_t lineHeightPx = 0;  // from one line's top to the next one's
    std::int32_t marginPx = 0;      // around the text and below the button
    std::vector<std::u16string> lines;  // the text wrapped to its width, empty lines between paragraphs
    PixelRect button;               // the OK button
};

// A message as the clock shows it: its text, wrapped to a readable width, and
// an OK button, drawn with the clock's own text renderer at the screen's
// resolution. A window system shows the canvas in a window titled with the
// caption, and ends it on OK, Enter, Escape, space or its close button.
class MessagePicture {
public:
    // Lays the text (UTF-8) out at the resolution (dots per inch) and draws it.
    // ready() is false when no canvas could be made.
    MessagePicture(std::string_view caption, std::string_view text, std::int32_t dpi);

    bool ready() const { return canvas != nullptr; }
    const std::string& caption() const { return title; }
    const MessageLayout& layout() const { return messageLayout; }
    // Whether the point (pixels from the picture's top-left corner) is on OK.
    bool onButton(std::int32_t xPx, std::int32_t yPx) const;
    // Paints the part in area of the picture at the target's top-left corner.
    void paint(PaintTarget& target, const PixelRect& area) const;

private:
    void draw();

    std::string title;
    std::unique_ptr<TextRenderer> text;
    std::unique_ptr<Canvas> canvas;
    MessageLayout messageLayout;
};

// Whether a key ends a message: Return, keypad Enter, Escape or space, by its
// keysym (app/Keys.h).
bool keyEndsMessage(std::uint32_t symbol);
