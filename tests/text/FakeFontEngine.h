#pragma once

#include "platform/FontRasterizer.h"
#include "text/TextRenderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A font engine with exact metrics and no glyph shapes. A font of cell height h
// has ascent 3h/4 and every character advances h/2. A character is drawn as its
// whole h/2 × h box with coverage 255 ('g': 128) in the green byte alone, so that
// a test sees where each run went and that green is the byte read.
class FakeFontEngine final : public platform::FontEngine {
public:
    struct DrawCall {
        std::int32_t cellHeightPx, penXPx, topYPx;
        std::u16string text;
    };
    // Shared with the test, which keeps it after handing the engine over.
    struct Record {
        std::vector<std::int32_t> createdHeights;
        std::vector<DrawCall> draws;
        std::set<std::int32_t> failingHeights;  // createFont fails for these
        bool failBitmaps = false;
        std::int32_t liveFonts = 0;  // fonts made and not yet destroyed
    };

    explicit FakeFontEngine(std::shared_ptr<Record> record) : log(std::move(record)) {}

    std::unique_ptr<platform::EngineFont> createFont(std::int32_t cellHeightPx, std::int16_t,
                                                     bool) override;
    std::int32_t runWidth(platform::EngineFont& font, std::u16string_view run) override {
        return static_cast<std::int32_t>(run.size()) * (font.cellHeightPx / 2);
    }
    std::unique_ptr<platform::TextBitmap> createBitmap(std::int32_t widthPx,
                                                       std::int32_t heightPx) override;
    void beginDrawing(platform::TextBitmap& bitmap) override { target = &bitmap; }
    std::int32_t drawRun(platform::EngineFont& font, std::int32_t penXPx, std::int32_t topYPx,
                         std::u16string_view run) override;
    void endDrawing() override { target = nullptr; }

private:
    std::shared_ptr<Record> log;
    platform::TextBitmap* target = nullptr;
};

// A renderer running on the fake engine, with the engine's record at hand.
class FakeFontTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(renderer.initialise(std::make_unique<FakeFontEngine>(record)), 1); }

    std::shared_ptr<FakeFontEngine::Record> record = std::make_shared<FakeFontEngine::Record>();
    TextRenderer renderer;
};
