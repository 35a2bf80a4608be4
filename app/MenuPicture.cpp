#include "app/MenuPicture.h"

#include "raster/Primitives.h"
#include "text/DrawText.h"

#include <algorithm>
#include <string>

namespace {

// Sizes at 100 % (96 DPI), pixels, scaled to the screen's resolution.
constexpr std::int32_t textHeightAt96 = 15;
constexpr std::int32_t rowHeightAt96 = 24;
constexpr std::int32_t separatorHeightAt96 = 9;
constexpr std::int32_t edgeAt96 = 4;         // above the first row and below the last
constexpr std::int32_t markColumnAt96 = 26;  // left of the labels, where the marks stand
constexpr std::int32_t keyGapAt96 = 32;      // between the longest label and the keys
constexpr std::int32_t rightEdgeAt96 = 12;
constexpr std::int32_t markSizeAt96 = 8;     // the radio dot's and the check's width

const Color background = Color::bytes(242, 242, 242);
const Color border = Color::bytes(128, 128, 128);
const Color textColour = Color::bytes(0, 0, 0);
const Color keyColour = Color::bytes(96, 96, 96);
const Color highlight = Color::bytes(0, 90, 170);
const Color highlightText = Color::bytes(255, 255, 255);
const Color separatorColour = Color::bytes(200, 200, 200);

std::int32_t scaled(std::int32_t lengthAt96, std::int32_t dpi) { return std::max(1, lengthAt96 * dpi / 96); }

std::u16string utf16(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

std::u16string keyText(char32_t key) { return key == 0 ? u"" : std::u16string(1, static_cast<char16_t>(key)); }

std::int32_t textWidth(TextRenderer& text, const std::u16string& label, std::int32_t heightPx) {
    std::int32_t widthPx = 0;
    std::int32_t textHeightPx = 0;
    if (label.empty()) {
        return 0;
    }
    text.measure(label, heightPx, widthPx, textHeightPx);
    return widthPx;
}

// Fills [left, right) × [top, bottom) given with y down, on the canvas whose
// rows count up.
void fillBox(Canvas& canvas, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
             const Color& color) {
    for (std::int32_t y = top; y < bottom; ++y) {
        span(canvas, left, right - 1, canvas.height - 1 - y, color);
    }
}

MenuLayout layOut(const std::vector<MenuItem>& items, TextRenderer& text, std::int32_t dpi) {
    MenuLayout layout;
    layout.textHeightPx = scaled(textHeightAt96, dpi);
    std::int32_t labelWidthPx = 0;
    std::int32_t keyWidthPx = 0;
    for (const MenuItem& item : items) {
        labelWidthPx = std::max(labelWidthPx, textWidth(text, utf16(item.label), layout.textHeightPx));
        keyWidthPx = std::max(keyWidthPx, textWidth(text, keyText(item.key), layout.textHeightPx));
    }
    layout.labelLeftPx = scaled(markColumnAt96, dpi);
    const std::int32_t width =
        layout.labelLeftPx + labelWidthPx + scaled(keyGapAt96, dpi) + keyWidthPx + scaled(rightEdgeAt96, dpi);
    layout.widthPx = (width + 3) / 4 * 4;
    layout.keyRightPx = layout.widthPx - scaled(rightEdgeAt96, dpi);
    std::int32_t y = scaled(edgeAt96, dpi);
    for (const MenuItem& item : items) {
        const std::int32_t height = scaled(item.kind == MenuItemKind::Separator ? separatorHeightAt96 : rowHeightAt96, dpi);
        layout.rows.push_back({1, y, layout.widthPx - 1, y + height});
        y += height;
    }
    layout.heightPx = y + scaled(edgeAt96, dpi);
    return layout;
}

}  // namespace

std::int32_t menuItemAt(const MenuLayout& layout, const std::vector<MenuItem>& items, std::int32_t xPx,
                        std::int32_t yPx) {
    for (std::size_t i = 0; i < layout.rows.size() && i < items.size(); ++i) {
        const PixelRect& row = layout.rows[i];
        if (xPx >= row.left && xPx < row.right && yPx >= row.top && yPx < row.bottom) {
            return items[i].kind == MenuItemKind::Separator ? -1 : static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

PixelPoint menuOrigin(PixelPoint at, const MenuLayout& layout, const PixelRect& screen) {
    const auto along = [](std::int32_t point, std::int32_t length, std::int32_t low, std::int32_t high) {
        std::int32_t origin = point + length <= high ? point : point - length;
        origin = std::min(origin, high - length);
        return std::max(origin, low);
    };
    return {along(at.x, layout.widthPx, screen.left, screen.right),
            along(at.y, layout.heightPx, screen.top, screen.bottom)};
}

MenuPicture::MenuPicture(std::vector<MenuItem> itemsShown, std::int32_t dpi)
    : menuItems(std::move(itemsShown)), text(std::make_unique<TextRenderer>()) {
    text->initialise();
    menuLayout = layOut(menuItems, *text, dpi);
    auto made = std::make_unique<Canvas>();
    made->pixelFormat = PixelFormatRgbBytes;
    made->depthFormat = DepthFormatNone;
    if (made->create(menuLayout.widthPx, menuLayout.heightPx, 1) == 1 && made->hasPixels()) {
        canvas = std::move(made);
        draw(-1);
    }
}

void MenuPicture::draw(std::int32_t highlighted) {
    if (!canvas) {
        return;
    }
    Canvas& c = *canvas;
    const MenuLayout& l = menuLayout;
    fillBox(c, 0, 0, l.widthPx, l.heightPx, border);
    fillBox(c, 1, 1, l.widthPx - 1, l.heightPx - 1, background);
    const std::int32_t markSizePx = std::max(3, l.textHeightPx * markSizeAt96 / textHeightAt96);
    for (std::size_t i = 0; i < menuItems.size(); ++i) {
        const MenuItem& item = menuItems[i];
        const PixelRect& row = l.rows[i];
        const std::int32_t middleY = (row.top + row.bottom) / 2;
        if (item.kind == MenuItemKind::Separator) {
            fillBox(c, row.left + l.labelLeftPx / 2, middleY, row.right - l.labelLeftPx / 2, middleY + 1,
                    separatorColour);
            continue;
        }
        const bool lit = static_cast<std::int32_t>(i) == highlighted;
        if (lit) {
            fillBox(c, row.left, row.top, row.right, row.bottom, highlight);
        }
        const Color& ink = lit ? highlightText : textColour;
        // The text's bottom row, counted up from the canvas's bottom.
        const std::int32_t textBottom = c.height - row.bottom + (row.bottom - row.top - l.textHeightPx) / 2;
        const std::u16string label = utf16(item.label);
        const std::int32_t labelWidth = textWidth(*text, label, l.textHeightPx);
        drawText(c, l.labelLeftPx + labelWidth / 2, textBottom, label, *text, l.textHeightPx, ink);
        const std::u16string key = keyText(item.key);
        if (!key.empty()) {
            const std::int32_t keyWidth = textWidth(*text, key, l.textHeightPx);
            drawText(c, l.keyRightPx - keyWidth + keyWidth / 2, textBottom, key, *text, l.textHeightPx,
                     lit ? highlightText : keyColour);
        }
        if (!item.marked) {
            continue;
        }
        const std::int32_t centreX = l.labelLeftPx / 2;
        const std::int32_t centreY = c.height - 1 - middleY;  // canvas rows count up
        const std::int32_t half = markSizePx / 2;
        if (item.kind == MenuItemKind::Radio) {
            // A round dot: the rows of a disc of radius half.
            for (std::int32_t dy = -half; dy <= half; ++dy) {
                std::int32_t dx = 0;
                while ((dx + 1) * (dx + 1) + dy * dy <= half * half) {
                    ++dx;
                }
                span(c, centreX - dx, centreX + dx, centreY + dy, ink);
            }
        } else {
            // A check: a short stroke down to the right, a long one up, two pixels thick.
            for (std::int32_t thick = 0; thick < 2; ++thick) {
                line(c, centreX - half, centreY + thick, centreX - half / 3, centreY - half * 2 / 3 + thick, ink);
                line(c, centreX - half / 3, centreY - half * 2 / 3 + thick, centreX + half, centreY + half + thick, ink);
            }
        }
    }
    c.present();
}

void MenuPicture::paint(PaintTarget& target, const PixelRect& area) const {
    if (canvas) {
        canvas->blit(target, 0, area);
    }
}
