#pragma once

#include "app/Layout.h"
#include "app/Menu.h"
#include "app/WindowHost.h"
#include "raster/PaintTarget.h"
#include "raster/Canvas.h"
#include "text/TextRenderer.h"

#include <cstdint>
#include <memory>
#include <vector>

// Where the parts of the clock's menu lie when the clock draws it itself, for a
// window system without menus of its own, pixels with y down from the top.
struct MenuLayout {
    std::int32_t widthPx = 0;       // a multiple of 4, as canvases are painted
    std::int32_t heightPx = 0;
    std::int32_t textHeightPx = 0;  // the labels' text height
    std::int32_t headingLeftPx = 0; // where the headings begin, left of the labels under them
    std::int32_t labelLeftPx = 0;   // where the labels begin, right of the marks
    std::int32_t fieldLeftPx = 0;   // where an entry's field begins, right of its label; 0 without an entry
    std::int32_t keyRightPx = 0;    // where the keys end
    std::vector<PixelRect> rows;  // one per item, in the items' order
};

// The item whose row holds the point (x, y), pixels from the menu's top-left
// corner; -1 outside the menu, on its border, on a separator or on a heading.
std::int32_t menuItemAt(const MenuLayout& layout, const std::vector<MenuItem>& items, std::int32_t xPx,
                        std::int32_t yPx);

// Where a menu of the layout's size opens for the point at (screen pixels): its
// top-left corner there, or its right or bottom edge there when it would
// otherwise cross the screen's right or bottom edge, and within the screen in
// every case as far as it fits.
PixelPoint menuOrigin(PixelPoint at, const MenuLayout& layout, const PixelRect& screen);

// The clock's menu as a picture: the layout for the screen's resolution, its
// canvas and the text renderer it draws the labels with. A window system shows
// the canvas in a popup window of its own and draws it again when the
// highlighted item or the text typed into the entry changes. An entry has room
// for a long zone name; a longer text shows its end.
class MenuPicture {
public:
    // Lays the items out at the resolution (dots per inch) and draws them with
    // none highlighted. ready() is false when no canvas could be made.
    MenuPicture(const std::vector<MenuItem>& items, std::int32_t dpi);

    bool ready() const { return canvas != nullptr; }
    const MenuLayout& layout() const { return menuLayout; }
    // Draws the items laid out, as they are now (an entry's text may have
    // changed), with the item highlighted (-1 for none), and presents them.
    void draw(const std::vector<MenuItem>& items, std::int32_t highlighted);
    // Paints the part in area of the picture at the target's top-left corner.
    void paint(PaintTarget& target, const PixelRect& area) const;
    // The presented picture, for comparing with what a window shows.
    const Canvas* picture() const { return canvas.get(); }

private:
    std::unique_ptr<TextRenderer> text;
    std::unique_ptr<Canvas> canvas;
    MenuLayout menuLayout;
};
