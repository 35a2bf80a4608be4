#include "FakeFontEngine.h"

#include <algorithm>
#include <cstddef>

namespace {

class FakeFont final : public platform::EngineFont {
public:
    FakeFont(std::int32_t cellHeight, std::int32_t& liveCount) : live(liveCount) {
        cellHeightPx = cellHeight;
        ascentPx = cellHeight * 3 / 4;
        descentPx = cellHeight - ascentPx;
        ++live;
    }
    ~FakeFont() override { --live; }

private:
    std::int32_t& live;
};

}  // namespace

std::unique_ptr<platform::EngineFont> FakeFontEngine::createFont(std::int32_t cellHeightPx,
                                                                 std::int16_t, bool) {
    if (log->failingHeights.count(cellHeightPx) != 0) {
        return nullptr;
    }
    log->createdHeights.push_back(cellHeightPx);
    return std::make_unique<FakeFont>(cellHeightPx, log->liveFonts);
}

std::unique_ptr<platform::TextBitmap> FakeFontEngine::createBitmap(std::int32_t widthPx,
                                                                   std::int32_t heightPx) {
    if (log->failBitmaps) {
        return nullptr;
    }
    return std::make_unique<platform::MemoryBitmap>(widthPx, heightPx);
}

std::int32_t FakeFontEngine::drawRun(platform::EngineFont& font, std::int32_t penXPx,
                                     std::int32_t topYPx, std::u16string_view run) {
    log->draws.push_back({font.cellHeightPx, penXPx, topYPx, std::u16string(run)});
    const std::int32_t charPx = font.cellHeightPx / 2;
    for (std::int32_t y = std::max(topYPx, 0);
         y < std::min(topYPx + font.cellHeightPx, target->heightPx); ++y) {
        // Rows are bottom-up: y counts down from the top row.
        std::uint8_t* row = target->bits + 3 * static_cast<std::size_t>(target->heightPx - 1 - y) *
                                               static_cast<std::size_t>(target->widthPx);
        for (std::int32_t x = std::max(penXPx, 0);
             x < std::min(penXPx + runWidth(font, run), target->widthPx); ++x) {
            row[3 * x + 1] = run[static_cast<std::size_t>((x - penXPx) / charPx)] == u'g' ? 128 : 255;
        }
    }
    return runWidth(font, run);
}
