#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

// A 24-bit bottom-up bitmap that text runs are drawn into: rows bottom row first,
// 3 bytes per pixel in the order blue, green, red, 3 × widthPx bytes per row with
// no padding (callers ask only for widths that are multiples of 4). A new bitmap is
// black. The platform's subclass owns the memory behind bits.
class TextBitmap {
public:
    virtual ~TextBitmap() = default;
    TextBitmap(const TextBitmap&) = delete;
    TextBitmap& operator=(const TextBitmap&) = delete;

    std::uint8_t* bits = nullptr;  // widthPx × heightPx × 3 bytes
    std::int32_t widthPx = 0;
    std::int32_t heightPx = 0;

protected:
    TextBitmap() = default;
};

// A bitmap in the process's own memory, black to begin with: what an engine
// that draws into plain memory hands out.
class MemoryBitmap final : public TextBitmap {
public:
    MemoryBitmap(std::int32_t width, std::int32_t height)
        : memory(3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {
        bits = memory.data();
        widthPx = width;
        heightPx = height;
    }

private:
    std::vector<std::uint8_t> memory;
};

// One font of an engine's face at one cell height, with its metrics in whole
// pixels. The cell is the text line's full box: ascent above the baseline plus
// descent below it.
class EngineFont {
public:
    virtual ~EngineFont() = default;
    EngineFont(const EngineFont&) = delete;
    EngineFont& operator=(const EngineFont&) = delete;

    std::int32_t cellHeightPx = 0;
    std::int32_t ascentPx = 0;
    std::int32_t descentPx = 0;

protected:
    EngineFont() = default;
};

// The platform's font rasteriser, bound to one face. It draws antialiased text
// white on black: every pixel's three channels carry the ink coverage 0…255.
// Not thread-safe: its owner serialises every call.
class FontEngine {
public:
    virtual ~FontEngine() = default;
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // A font of the face whose cell is cellHeightPx high (weight 400 normal, 700
    // bold), or null when none can be made. Fonts must be destroyed before their
    // engine.
    virtual std::unique_ptr<EngineFont> createFont(std::int32_t cellHeightPx, std::int16_t weight,
                                                   bool fixedPitch) = 0;
    // The advance width of a UTF-16 run in the font, pixels.
    virtual std::int32_t runWidth(EngineFont& font, std::u16string_view run) = 0;
    // A black bitmap of that size, or null when it cannot be made.
    virtual std::unique_ptr<TextBitmap> createBitmap(std::int32_t widthPx, std::int32_t heightPx) = 0;

    // Runs are drawn between beginDrawing and endDrawing, which makes the drawing
    // complete in the bitmap's bits.
    virtual void beginDrawing(TextBitmap& target) = 0;
    // Draws a run with the top of its text cell at topYPx (counted down from the
    // bitmap's top row) and its left edge at penXPx; returns its advance width in
    // pixels, the same as runWidth.
    virtual std::int32_t drawRun(EngineFont& font, std::int32_t penXPx, std::int32_t topYPx,
                                 std::u16string_view run) = 0;
    virtual void endDrawing() = 0;

protected:
    FontEngine() = default;
};

// The platform's engine for the named face (GDI on Windows, FreeType with
// fontconfig elsewhere), or null when the platform cannot provide one.
std::unique_ptr<FontEngine> createFontEngine(std::u16string_view faceName);

}  // namespace platform
