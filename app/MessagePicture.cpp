#include "app/MessagePicture.h"

#include "app/Keys.h"
#include "app/Utf8Text.h"
#include "raster/Primitives.h"
#include "text/DrawText.h"

#include <algorithm>

namespace {

// Sizes at 100 % (96 DPI), pixels, scaled to the screen's resolution.
constexpr std::int32_t textHeightAt96 = 15;
constexpr std::int32_t lineHeightAt96 = 20;
constexpr std::int32_t marginAt96 = 16;
constexpr std::int32_t textWidthAt96 = 440;  // the widest a line may be: about 70 characters
constexpr std::int32_t smallestWidthAt96 = 240;
constexpr std::int32_t buttonWidthAt96 = 80;
constexpr std::int32_t buttonHeightAt96 = 26;

const Color background = Color::bytes(242, 242, 242);
const Color textColour = Color::bytes(0, 0, 0);
const Color buttonEdge = Color::bytes(128, 128, 128);
const Color buttonFace = Color::bytes(225, 225, 225);

std::int32_t scaled(std::int32_t lengthAt96, std::int32_t dpi) { return std::max(1, lengthAt96 * dpi / 96); }

std::int32_t widthOf(TextRenderer& text, std::u16string_view line, std::int32_t heightPx) {
    std::int32_t widthPx = 0;
    std::int32_t textHeightPx = 0;
    if (!line.empty()) {
        text.measure(line, heightPx, widthPx, textHeightPx);
    }
    return widthPx;
}

// The paragraph's lines, words kept whole where they fit: a line takes words
// while it stays within the width, and a word wider than the width alone is
// cut where it reaches it.
void wrap(std::u16string_view paragraph, TextRenderer& text, std::int32_t heightPx, std::int32_t widthPx,
          std::vector<std::u16string>& lines) {
    std::u16string line;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(u' ', start);
        end = end == std::u16string_view::npos ? paragraph.size() : end;
        std::u16string word(paragraph.substr(start, end - start));
        start = end + 1;
        const std::u16string joined = line.empty() ? word : line + u' ' + word;
        if (widthOf(text, joined, heightPx) <= widthPx) {
            line = joined;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        while (word.size() > 1 && widthOf(text, word, heightPx) > widthPx) {
            std::size_t fits = word.size() - 1;
            while (fits > 1 && widthOf(text, std::u16string_view(word).substr(0, fits), heightPx) > widthPx) {
                --fits;
            }
            // A pair of surrogates stays whole.
            if (fits > 1 && word[fits - 1] >= 0xD800 && word[fits - 1] <= 0xDBFF) {
                --fits;
            }
            lines.push_back(word.substr(0, fits));
            word.erase(0, fits);
        }
        line = word;
    }
    lines.push_back(line);
}

MessageLayout layOut(std::string_view message, TextRenderer& text, std::int32_t dpi) {
    MessageLayout layout;
    layout.textHeightPx = scaled(textHeightAt96, dpi);
    layout.lineHeightPx = scaled(lineHeightAt96, dpi);
    layout.marginPx = scaled(marginAt96, dpi);
    const std::u16string whole = utf16FromUtf8(message);
    for (std::size_t start = 0; start <= whole.size();) {
        std::size_t end = whole.find(u'\n', start);
        end = end == std::u16string::npos ? whole.size() : end;
        wrap(std::u16string_view(whole).substr(start, end - start), text, layout.textHeightPx,
             scaled(textWidthAt96, dpi), layout.lines);
        start = end + 1;
    }
    std::int32_t widestPx = 0;
    for (const std::u16string& line : layout.lines) {
        widestPx = std::max(widestPx, widthOf(text, line, layout.textHeightPx));
    }
    const std::int32_t width = std::max(scaled(smallestWidthAt96, dpi), widestPx + 2 * layout.marginPx);
    layout.widthPx = (width + 3) / 4 * 4;
    const std::int32_t buttonTop =
        layout.marginPx + static_cast<std::int32_t>(layout.lines.size()) * layout.lineHeightPx + layout.marginPx;
    const std::int32_t buttonWidth = scaled(buttonWidthAt96, dpi);
    const std::int32_t buttonLeft = (layout.widthPx - buttonWidth) / 2;
    layout.button = {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + scaled(buttonHeightAt96, dpi)};
    layout.heightPx = layout.button.bottom + layout.marginPx;
    return layout;
}

// Fills the rectangle, given with y down, on the canvas whose rows count up.
void fill(Canvas& canvas, const PixelRect& area, const Color& color) {
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        span(canvas, area.left, area.right - 1, canvas.height - 1 - y, color);
    }
}

// Draws a line of text with its left end at left, in the row band of y down
// [top, top + rowHeight).
void drawLine(Canvas& canvas, TextRenderer& text, std::u16string_view line, std::int32_t left, std::int32_t top,
              std::int32_t rowHeight, std::int32_t textHeight) {
    if (line.empty()) {
        return;
    }
    const std::int32_t bottomRow = canvas.height - (top + rowHeight) + (rowHeight - textHeight) / 2;
    drawText(canvas, left + widthOf(text, line, textHeight) / 2, bottomRow, line, text, textHeight, textColour);
}

}  // namespace

MessagePicture::MessagePicture(std::string_view caption, std::string_view message, std::int32_t dpi)
    : title(caption), text(std::make_unique<TextRenderer>()) {
    text->initialise();
    messageLayout = layOut(message, *text, dpi);
    auto made = std::make_unique<Canvas>();
    made->pixelFormat = PixelFormatRgbBytes;
    made->depthFormat = DepthFormatNone;
    if (made->create(messageLayout.widthPx, messageLayout.heightPx, 1) == 1 && made->hasPixels()) {
        canvas = std::move(made);
        draw();
    }
}

void MessagePicture::draw() {
    Canvas& c = *canvas;
    const MessageLayout& l = messageLayout;
    fill(c, {0, 0, l.widthPx, l.heightPx}, background);
    for (std::size_t i = 0; i < l.lines.size(); ++i) {
        drawLine(c, *text, l.lines[i], l.marginPx, l.marginPx + static_cast<std::int32_t>(i) * l.lineHeightPx,
                 l.lineHeightPx, l.textHeightPx);
    }
    const PixelRect& b = l.button;
    fill(c, b, buttonEdge);
    fill(c, {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, buttonFace);
    const std::u16string ok = u"OK";
    drawLine(c, *text, ok, (b.left + b.right - widthOf(*text, ok, l.textHeightPx)) / 2, b.top, b.bottom - b.top,
             l.textHeightPx);
    c.present();
}

bool MessagePicture::onButton(std::int32_t xPx, std::int32_t yPx) const {
    const PixelRect& b = messageLayout.button;
    return xPx >= b.left && xPx < b.right && yPx >= b.top && yPx < b.bottom;
}

void MessagePicture::paint(PaintTarget& target, const PixelRect& area) const {
    if (canvas) {
        canvas->blit(target, 0, area);
    }
}

bool keyEndsMessage(std::uint32_t symbol) {
    return symbol == keysym::Return || symbol == keysym::KpEnter || symbol == keysym::Escape ||
           symbol == keysym::space;
}
