#include "FakeFontEngine.h"

#include <cstddef>
#include <vector>

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

class FakeBitmap final : public platform::TextBitmap {
public:
    FakeBitmap(std::int32_t width, std::int32_t height)
        : memory(3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {
        bits = memory.data();
        widthPx = width;
        heightPx = height;
    }

private:
    std::vector<std::uint8_t> memory;
};

}  // namespace

FakeFontEngine::~FakeFontEngine() = default;

std::unique_ptr<platform::EngineFont> FakeFontEngine::createFont(std::int32_t cellHeightPx,
                                                                 std::int16_t, bool) {
    if (log->failingHeights.count(cellHeightPx) != 0) {
        return nullptr;
    }
    log->createdHeights.push_back(cellHeightPx);
    return std::make_unique<FakeFont>(cellHeightPx, log->liveFonts);
}

std::int32_t FakeFontEngine::runWidth(platform::EngineFont& font, std::u16string_view run) {
    return static_cast<std::int32_t>(run.size()) * charWidthPx(font.cellHeightPx);
}

std::unique_ptr<platform::TextBitmap> FakeFontEngine::createBitmap(std::int32_t widthPx,
                                                                   std::int32_t heightPx) {
    if (log->failBitmaps) {
        return nullptr;
    }
    return std::make_unique<FakeBitmap>(widthPx, heightPx);
}

std::int32_t FakeFontEngine::drawRun(platform::EngineFont& font, std::int32_t penXPx,
                                     std::int32_t topYPx, std::u16string_view run) {
    log->draws.push_back({font.cellHeightPx, penXPx, topYPx, std::u16string(run)});
    const std::int32_t charPx = charWidthPx(font.cellHeightPx);
    for (std::size_t k = 0; k < run.size(); ++k) {
        const std::uint8_t coverage = run[k] == u'g' ? greyCoverage : 255;
        const std::int32_t left = penXPx + static_cast<std::int32_t>(k) * charPx;
        for (std::int32_t y = topYPx; y < topYPx + font.cellHeightPx; ++y) {
            for (std::int32_t x = left; x < left + charPx; ++x) {
                if (x < 0 || x >= target->widthPx || y < 0 || y >= target->heightPx) {
                    continue;
                }
                // Rows are bottom-up: y counts down from the top row.
                const std::size_t row = static_cast<std::size_t>(target->heightPx - 1 - y);
                target->bits[3 * (row * static_cast<std::size_t>(target->widthPx) + x) + 1] =
                    coverage;
            }
        }
    }
    return runWidth(font, run);
}
