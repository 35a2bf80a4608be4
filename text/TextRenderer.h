#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

struct FontEntry;
struct TextImage;

// Turns a short UTF-16 text at a pixel height into a white-on-black TextImage,
// with a cache of fonts of one face ("Cambria"), one per cell height. Markup:
// U+E000 raises a level (superscript), U+E001 lowers one (subscript), U+E002
// pushes the pen position and level, U+E003 pops them; U+0000 ends the text.
class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Sets the face and creates the drawing context: 1 when ready.
    std::int32_t initialise();
    // The cached font of a cell height, made most recently used, or null.
    FontEntry* findFont(std::int32_t cellHeightPx);
    // The font of a cell height, created when missing, or null when it cannot be.
    FontEntry* getFont(std::int32_t cellHeightPx);
    // Lays the text out at height a: its width and height in pixels; returns the
    // top offset (how far raised runs reach above the unraised text).
    std::int32_t measure(std::u16string_view text, std::int32_t heightPx, std::int32_t& widthPx,
                         std::int32_t& textHeightPx);
    // The text drawn white on black, or null when nothing can be drawn.
    std::unique_ptr<TextImage> render(std::u16string_view text, std::int32_t heightPx);
};
