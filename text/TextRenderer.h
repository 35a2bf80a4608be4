#pragma once

#include "platform/FontRasterizer.h"
#include "platform/Lock.h"
#include "text/FontEntry.h"
#include "text/TextImage.h"

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turns a short UTF-16 text at a pixel height into a white-on-black TextImage,
// with a cache of fonts of one face ("Cambria"), one per cell height. Markup:
// U+E000 raises a level (superscript), U+E001 lowers one (subscript), U+E002
// pushes the pen position and level, U+E003 pops them; U+0000 ends the text.
//
// The cache keeps the most recently used font first. When a new font makes it
// hold more than maxCachedFonts, the least recently used font that no run is
// using is dropped. Every caller of findFont or getFont hands the entry back with
// releaseFont as soon as its run is done.
//
// One re-entrant lock guards the cache and the font engine; render holds it for
// the whole call.
class TextRenderer {
public:
    static constexpr std::int32_t maxCachedFonts = 12;

    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Sets the face and creates the platform's font engine: 1 when ready.
    std::int32_t initialise();
    // Uses the given engine (tests inject one with fixed metrics): 1 when ready.
    std::int32_t initialise(std::unique_ptr<platform::FontEngine> fontEngine);
    // The cached font of a cell height, made most recently used, or null.
    FontEntry* findFont(std::int32_t cellHeightPx);
    // The font of a cell height, created when missing, or null when it cannot be.
    FontEntry* getFont(std::int32_t cellHeightPx);
    // Ends one use of an entry that findFont or getFont returned.
    void releaseFont(FontEntry* entry);
    // Lays the text out at heightPx: its width and height in pixels; returns the
    // top offset (how far raised runs reach above the unraised text).
    std::int32_t measure(std::u16string_view text, std::int32_t heightPx, std::int32_t& widthPx,
                         std::int32_t& textHeightPx);
    // The text drawn white on black, or null when nothing can be drawn (a text
    // that lays out 0 pixels wide, or a bitmap that cannot be made).
    std::unique_ptr<TextImage> render(std::u16string_view text, std::int32_t heightPx);

    // The cache keys (cell heights, pixels), most recently used first.
    std::vector<std::int32_t> cachedHeights() const;

    std::int16_t weight = 400;      // font weight of new fonts: 400 normal, 700 bold
    std::int16_t fixedPitch = 0;    // non-zero: new fonts are asked for fixed pitch

private:
    // The advance of one run, measured or drawn at (pen x, topYPx); absent when
    // the run's font cannot be made.
    std::optional<std::int32_t> layRun(std::u16string_view run, std::int16_t fontHeightPx,
                                       std::int32_t penXPx, std::int32_t topYPx, bool draw);

    mutable platform::Lock lock;
    std::u16string faceName;
    // Declared before the fonts, so that the fonts are destroyed first.
    std::unique_ptr<platform::FontEngine> engine;
    std::list<FontEntry> fonts;  // most recently used first
};
