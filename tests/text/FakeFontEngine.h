#pragma once

#include "platform/FontRasterizer.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// A font engine with exact, glyph-free metrics, so that layout and cache tests do
// not depend on a face's shapes. A font of cell height h has ascent 3h/4 and every
// character advances h/2 pixels. A run is drawn as its whole cell box filled
// with coverage 255 in the green byte only (blue and red stay 0), so that a test
// sees exactly where each run went and that the green byte is the one read;
// characters 'g' get coverage 128 instead.
class FakeFontEngine final : public platform::FontEngine {
public:
    // What drawRun was asked to do.
    struct DrawCall {
        std::int32_t cellHeightPx;
        std::int32_t penXPx;
        std::int32_t topYPx;
        std::u16string text;
    };

    // What the test can observe and steer; shared so that the test keeps it after
    // handing the engine to a renderer.
    struct Record {
        std::vector<std::int32_t> createdHeights;  // every createFont that succeeded
        std::vector<DrawCall> draws;
        std::set<std::int32_t> failingHeights;  // createFont fails for these
        bool failBitmaps = false;               // createBitmap fails
        std::int32_t liveFonts = 0;             // fonts made and not yet destroyed
    };

    explicit FakeFontEngine(std::shared_ptr<Record> record) : log(std::move(record)) {}
    ~FakeFontEngine() override;

    static constexpr std::uint8_t greyCoverage = 128;

    std::unique_ptr<platform::EngineFont> createFont(std::int32_t cellHeightPx,
                                                     std::int16_t weight,
                                                     bool fixedPitch) override;
    std::int32_t runWidth(platform::EngineFont& font, std::u16string_view run) override;
    std::unique_ptr<platform::TextBitmap> createBitmap(std::int32_t widthPx,
                                                       std::int32_t heightPx) override;
    void beginDrawing(platform::TextBitmap& bitmap) override { target = &bitmap; }
    std::int32_t drawRun(platform::EngineFont& font, std::int32_t penXPx, std::int32_t topYPx,
                         std::u16string_view run) override;
    void endDrawing() override { target = nullptr; }

    // The advance of one character in a font of that cell height.
    static std::int32_t charWidthPx(std::int32_t cellHeightPx) { return cellHeightPx / 2; }

private:
    std::shared_ptr<Record> log;
    platform::TextBitmap* target = nullptr;
};
