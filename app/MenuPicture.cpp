#include "app/MenuPicture.h"

#include "app/Utf8Text.h"
#include "raster/Primitives.h"
#include "text/DrawText.h"

#include <algorithm>
#include <string>

namespace {

// Sizes at 100 % (96 DPI), pixels, scaled to the screen's resolution.
constexpr std::int32_t textHeightAt96 = 15;
constexpr std::int32_t rowHeightAt96 = 24;
constexpr std::int32_t headingHeightAt96 = 22;
constexpr std::int32_t separatorHeightAt96 = 9;
constexpr std::int32_t edgeAt96 = 4;         // above the first row and below the last
constexpr std::int32_t headingLeftAt96 = 8;  // where a heading begins, left of the labels under it
constexpr std::int32_t markColumnAt96 = 26;  // left of the labels, where the marks stand
constexpr std::int32_t keyGapAt96 = 32;      // between the longest label and the keys
constexpr std::int32_t rightEdgeAt96 = 12;
constexpr std::int32_t markSizeAt96 = 8;     // the radio dot's and the check's width, the arrow's height
constexpr std::int32_t fieldGapAt96 = 8;     // between an entry's label and its field
constexpr std::int32_t fieldPaddingAt96 = 4; // between the field's border and its text
constexpr std::int32_t fieldInsetAt96 = 3;   // between the row's top and bottom and the field's

// The text an entry's field has room for: one of the longest zone names.
constexpr std::u16string_view fieldSample = u"America/Argentina/Buenos_Aires";

const Color background = Color::bytes(242, 242, 242);
const Color border = Color::bytes(128, 128, 128);
const Color textColour = Color::bytes(0, 0, 0);
const Color keyColour = Color::bytes(96, 96, 96);
const Color highlight = Color::bytes(0, 90, 170);
const Color highlightText = Color::bytes(255, 255, 255);
const Color separatorColour = Color::bytes(200, 200, 200);
const Color fieldColour = Color::bytes(255, 255, 255);

std::int32_t scaled(std::int32_t lengthAt96, std::int32_t dpi) { return std::max(1, lengthAt96 * dpi / 96); }

// A length at 100 % for text of the height, pixels: the marks and the fields
// follow the text.
std::int32_t alongText(std::int32_t lengthAt96, std::int32_t textHeightPx) {
    return std::max(1, lengthAt96 * textHeightPx / textHeightAt96);
}

std::u16string keyText(char32_t key) { return key == 0 ? u"" : std::u16string(1, static_cast<char16_t>(key)); }

// An entry's label as the clock draws it, before its field.
std::u16string entryLabel(const MenuItem& item) { return utf16FromUtf8(item.label) + u':'; }

std::int32_t textWidth(TextRenderer& text, std::u16string_view label, std::int32_t heightPx) {
    std::int32_t widthPx = 0;
    std::int32_t textHeightPx = 0;
    if (label.empty()) {
        return 0;
    }
    text.measure(label, heightPx, widthPx, textHeightPx);
    return widthPx;
}

std::int32_t rowHeightAt96Of(MenuItemKind kind) {
    switch (kind) {
    case MenuItemKind::Separator:
        return separatorHeightAt96;
    case MenuItemKind::Heading:
        return headingHeightAt96;
    default:
        return rowHeightAt96;
    }
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
    const std::int32_t markSizePx = std::max(3, alongText(markSizeAt96, layout.textHeightPx));
    std::int32_t labelWidthPx = 0;
    std::int32_t keyWidthPx = 0;
    for (const MenuItem& item : items) {
        std::int32_t widthPx = textWidth(text, utf16FromUtf8(item.label), layout.textHeightPx);
        if (item.kind == MenuItemKind::Entry) {
            const std::int32_t fieldOffsetPx =
                textWidth(text, entryLabel(item), layout.textHeightPx) + alongText(fieldGapAt96, layout.textHeightPx);
            layout.fieldLeftPx = scaled(markColumnAt96, dpi) + fieldOffsetPx;
            widthPx = fieldOffsetPx + textWidth(text, fieldSample, layout.textHeightPx) +
                      2 * alongText(fieldPaddingAt96, layout.textHeightPx);
        } else if (item.kind == MenuItemKind::Heading) {
            widthPx -= scaled(markColumnAt96 - headingLeftAt96, dpi);
        }
        labelWidthPx = std::max(labelWidthPx, widthPx);
        keyWidthPx = std::max(keyWidthPx, item.kind == MenuItemKind::Submenu
                                              ? markSizePx / 2
                                              : textWidth(text, keyText(item.key), layout.textHeightPx));
    }
    layout.headingLeftPx = scaled(headingLeftAt96, dpi);
    layout.labelLeftPx = scaled(markColumnAt96, dpi);
    const std::int32_t width =
        layout.labelLeftPx + labelWidthPx + scaled(keyGapAt96, dpi) + keyWidthPx + scaled(rightEdgeAt96, dpi);
    layout.widthPx = (width + 3) / 4 * 4;
    layout.keyRightPx = layout.widthPx - scaled(rightEdgeAt96, dpi);
    std::int32_t y = scaled(edgeAt96, dpi);
    for (const MenuItem& item : items) {
        const std::int32_t height = scaled(rowHeightAt96Of(item.kind), dpi);
        layout.rows.push_back({1, y, layout.widthPx - 1, y + height});
        y += height;
    }
    layout.heightPx = y + scaled(edgeAt96, dpi);
    return layout;
}

// Draws a text with its left end at left and its bottom row at textBottom
// (counted up from the canvas's bottom).
void drawLeft(Canvas& canvas, TextRenderer& text, std::u16string_view line, std::int32_t left,
              std::int32_t textBottom, std::int32_t heightPx, const Color& ink) {
    if (!line.empty()) {
        drawText(canvas, left + textWidth(text, line, heightPx) / 2, textBottom, line, text, heightPx, ink);
    }
}

// An entry's field, right of its label to the keys' right end: the text typed
// (its end, when it is longer than the field) and, while the entry is
// highlighted, a caret after it.
void drawField(Canvas& c, TextRenderer& text, const MenuLayout& l, const MenuItem& item, const PixelRect& row,
               std::int32_t textBottom, bool lit) {
    const std::int32_t inset = alongText(fieldInsetAt96, l.textHeightPx);
    const std::int32_t padding = alongText(fieldPaddingAt96, l.textHeightPx);
    const std::int32_t left = l.fieldLeftPx;
    const std::int32_t top = row.top + inset;
    const std::int32_t bottom = row.bottom - inset;
    fillBox(c, left, top, l.keyRightPx, bottom, border);
    fillBox(c, left + 1, top + 1, l.keyRightPx - 1, bottom - 1, fieldColour);
    std::u16string typed = utf16FromUtf8(item.zone);
    const std::int32_t roomPx = l.keyRightPx - left - 2 * padding;
    while (!typed.empty() && textWidth(text, typed, l.textHeightPx) > roomPx) {
        // A pair of surrogates goes whole.
        const bool pair = typed.size() > 1 && typed[0] >= 0xD800 && typed[0] <= 0xDBFF;
        typed.erase(0, pair ? 2 : 1);
    }
    drawLeft(c, text, typed, left + padding, textBottom, l.textHeightPx, textColour);
    if (lit) {
        const std::int32_t caretX = left + padding + textWidth(text, typed, l.textHeightPx);
        fillBox(c, caretX, top + padding, caretX + 1, bottom - padding, textColour);
    }
}

// The mark of a chosen item, centred on (centreX, centreY) in canvas rows,
// half pixels from its middle to its edge: a round dot for one of a choice, a
// check otherwise.
void drawMark(Canvas& c, bool radio, std::int32_t centreX, std::int32_t centreY, std::int32_t half,
              const Color& ink) {
    if (radio) {
        // The rows of a disc of radius half.
        for (std::int32_t dy = -half; dy <= half; ++dy) {
            std::int32_t dx = 0;
            while ((dx + 1) * (dx + 1) + dy * dy <= half * half) {
                ++dx;
            }
            span(c, centreX - dx, centreX + dx, centreY + dy, ink);
        }
        return;
    }
    // A short stroke down to the right, a long one up, two pixels thick.
    for (std::int32_t thick = 0; thick < 2; ++thick) {
        line(c, centreX - half, centreY + thick, centreX - half / 3, centreY - half * 2 / 3 + thick, ink);
        line(c, centreX - half / 3, centreY - half * 2 / 3 + thick, centreX + half, centreY + half + thick, ink);
    }
}

}  // namespace

std::int32_t menuItemAt(const MenuLayout& layout, const std::vector<MenuItem>& items, std::int32_t xPx,
                        std::int32_t yPx) {
    for (std::size_t i = 0; i < layout.rows.size() && i < items.size(); ++i) {
        const PixelRect& row = layout.rows[i];
        if (xPx >= row.left && xPx < row.right && yPx >= row.top && yPx < row.bottom) {
            const MenuItemKind kind = items[i].kind;
            return kind == MenuItemKind::Separator || kind == MenuItemKind::Heading ? -1 : static_cast<std::int32_t>(i);
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

MenuPicture::MenuPicture(const std::vector<MenuItem>& items, std::int32_t dpi)
    : text(std::make_unique<TextRenderer>()) {
    text->initialise();
    menuLayout = layOut(items, *text, dpi);
    auto made = std::make_unique<Canvas>();
    made->pixelFormat = PixelFormatRgbBytes;
    made->depthFormat = DepthFormatNone;
    if (made->create(menuLayout.widthPx, menuLayout.heightPx, 1) == 1 && made->hasPixels()) {
        canvas = std::move(made);
        draw(items, -1);
    }
}

void MenuPicture::draw(const std::vector<MenuItem>& items, std::int32_t highlighted) {
    if (!canvas) {
        return;
    }
    Canvas& c = *canvas;
    const MenuLayout& l = menuLayout;
    fillBox(c, 0, 0, l.widthPx, l.heightPx, border);
    fillBox(c, 1, 1, l.widthPx - 1, l.heightPx - 1, background);
    const std::int32_t markSizePx = std::max(3, alongText(markSizeAt96, l.textHeightPx));
    for (std::size_t i = 0; i < items.size() && i < l.rows.size(); ++i) {
        const MenuItem& item = items[i];
        const PixelRect& row = l.rows[i];
        const std::int32_t middleY = (row.top + row.bottom) / 2;
        if (item.kind == MenuItemKind::Separator) {
            fillBox(c, row.left + l.labelLeftPx / 2, middleY, row.right - l.labelLeftPx / 2, middleY + 1,
                    separatorColour);
            continue;
        }
        // The text's bottom row, counted up from the canvas's bottom.
        const std::int32_t textBottom = c.height - row.bottom + (row.bottom - row.top - l.textHeightPx) / 2;
        if (item.kind == MenuItemKind::Heading) {
            drawLeft(c, *text, utf16FromUtf8(item.label), l.headingLeftPx, textBottom, l.textHeightPx, keyColour);
            continue;
        }
        const bool lit = static_cast<std::int32_t>(i) == highlighted;
        if (lit) {
            fillBox(c, row.left, row.top, row.right, row.bottom, highlight);
        }
        const Color& ink = lit ? highlightText : textColour;
        if (item.kind == MenuItemKind::Entry) {
            drawLeft(c, *text, entryLabel(item), l.labelLeftPx, textBottom, l.textHeightPx, ink);
            drawField(c, *text, l, item, row, textBottom, lit);
            continue;
        }
        drawLeft(c, *text, utf16FromUtf8(item.label), l.labelLeftPx, textBottom, l.textHeightPx, ink);
        const std::int32_t centreY = c.height - 1 - middleY;  // canvas rows count up
        const std::int32_t half = markSizePx / 2;
        if (item.kind == MenuItemKind::Submenu) {
            // An arrow to the right, where the keys stand: more to choose from.
            triangle(c, l.keyRightPx - half, centreY - half, l.keyRightPx - half, centreY + half, l.keyRightPx,
                     centreY, lit ? highlightText : keyColour, 1);
        }
        const std::u16string key = keyText(item.key);
        if (!key.empty()) {
            const std::int32_t keyWidth = textWidth(*text, key, l.textHeightPx);
            drawText(c, l.keyRightPx - keyWidth + keyWidth / 2, textBottom, key, *text, l.textHeightPx,
                     lit ? highlightText : keyColour);
        }
        if (item.marked) {
            drawMark(c, item.kind == MenuItemKind::Radio, l.labelLeftPx / 2, centreY, half, ink);
        }
    }
    c.present();
}

void MenuPicture::paint(PaintTarget& target, const PixelRect& area) const {
    if (canvas) {
        canvas->blit(target, 0, area);
    }
}
