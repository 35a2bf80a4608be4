#include "text/TextRenderer.h"

#include "platform/StoreSize.h"
#include "text/TextLayout.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <utility>

namespace {
constexpr char16_t cambria[] = u"Cambria";
}  // namespace

TextRenderer::TextRenderer() = default;

TextRenderer::~TextRenderer() {
    std::lock_guard guard(lock);
    fonts.clear();
    engine.reset();
}

std::int32_t TextRenderer::initialise() {
    std::lock_guard guard(lock);
    faceName = cambria;
    return initialise(platform::createFontEngine(faceName));
}

std::int32_t TextRenderer::initialise(std::unique_ptr<platform::FontEngine> fontEngine) {
    std::lock_guard guard(lock);
    // Cached fonts belong to the engine that made them.
    fonts.clear();
    engine = std::move(fontEngine);
    return engine ? 1 : 0;
}

FontEntry* TextRenderer::findFont(std::int32_t cellHeightPx) {
    std::lock_guard guard(lock);
    const auto found = std::find_if(fonts.begin(), fonts.end(), [&](const FontEntry& entry) {
        return entry.height == cellHeightPx;
    });
    if (found == fonts.end()) {
        return nullptr;
    }
    fonts.splice(fonts.begin(), fonts, found);
    ++found->useCount;
    return &*found;
}

FontEntry* TextRenderer::getFont(std::int32_t cellHeightPx) {
    // Held throughout, so that the engine is never used unguarded and two callers
    // cannot both create the same height.
    std::lock_guard guard(lock);
    if (FontEntry* cached = findFont(cellHeightPx)) {
        return cached;
    }
    if (!engine) {
        return nullptr;
    }
    std::unique_ptr<platform::EngineFont> font =
        engine->createFont(cellHeightPx, weight, fixedPitch != 0);
    if (!font) {
        return nullptr;
    }
    FontEntry& entry = fonts.emplace_front();
    entry.height = cellHeightPx;
    entry.cellHeight = font->cellHeightPx;
    entry.ascent = font->ascentPx;
    entry.descent = font->descentPx;
    entry.font = std::move(font);
    entry.useCount = 1;
    if (fonts.size() > static_cast<std::size_t>(maxCachedFonts)) {
        // Drop at most one font: the least recently used that is idle. The new
        // entry is in use, so it is never the one.
        for (auto it = fonts.end(); it != fonts.begin();) {
            --it;
            if (it->useCount == 0) {
                fonts.erase(it);
                break;
            }
        }
    }
    return &entry;
}

void TextRenderer::releaseFont(FontEntry* entry) {
    std::lock_guard guard(lock);
    if (entry != nullptr && entry->useCount > 0) {
        --entry->useCount;
    }
}

std::optional<std::int32_t> TextRenderer::layRun(std::u16string_view run,
                                                 std::int16_t fontHeightPx, std::int32_t penXPx,
                                                 std::int32_t topYPx, bool draw) {
    FontEntry* entry = getFont(fontHeightPx);
    if (entry == nullptr) {
        return std::nullopt;
    }
    const std::int32_t advancePx = draw ? engine->drawRun(*entry->font, penXPx, topYPx, run)
                                        : engine->runWidth(*entry->font, run);
    releaseFont(entry);
    return advancePx;
}

std::int32_t TextRenderer::measure(std::u16string_view text, std::int32_t heightPx,
                                   std::int32_t& widthPx, std::int32_t& textHeightPx) {
    std::int32_t lowestTopPx = 0;
    std::int32_t highestBottomPx = heightPx;
    widthPx = 0;
    layOutText(text, heightPx, [&](const LaidRun& run) {
        const std::optional<std::int32_t> advancePx =
            layRun(run.text, run.fontHeightPx, run.penXPx, 0, false);
        // A run whose font cannot be made is skipped like one too small to draw.
        if (!advancePx) {
            return 0;
        }
        widthPx = std::max(widthPx, run.penXPx + *advancePx);
        lowestTopPx = std::min(lowestTopPx, run.offsetPx);
        highestBottomPx = std::max(highestBottomPx, run.offsetPx + run.fontHeightPx);
        return *advancePx;
    });
    textHeightPx = highestBottomPx - lowestTopPx;
    return -lowestTopPx;
}

std::unique_ptr<TextImage> TextRenderer::render(std::u16string_view text, std::int32_t heightPx) {
    std::lock_guard guard(lock);
    std::int32_t widthPx = 0;
    std::int32_t textHeightPx = 0;
    const std::int32_t topOffsetPx = measure(text, heightPx, widthPx, textHeightPx);
    // Nothing to draw: no bitmap of width 0 is asked for.
    if (!engine || widthPx <= 0 || textHeightPx <= 0) {
        return nullptr;
    }
    // Round up to a multiple of 4 so that 24-bit rows need no padding; refuse a
    // bitmap whose bytes would not fit a signed 32-bit count.
    const std::int64_t roundedWidthPx = (static_cast<std::int64_t>(widthPx) + 3) / 4 * 4;
    if (!storeBytes(3, roundedWidthPx, textHeightPx)) {
        return nullptr;
    }
    auto image = std::make_unique<TextImage>();
    image->width = static_cast<std::int32_t>(roundedWidthPx);
    image->height = textHeightPx;
    image->topOffset = topOffsetPx;
    image->bitmap = engine->createBitmap(image->width, image->height);
    if (!image->bitmap) {
        return nullptr;
    }
    image->bits = image->bitmap->bits;

    engine->beginDrawing(*image->bitmap);
    layOutText(text, heightPx, [&](const LaidRun& run) {
        return layRun(run.text, run.fontHeightPx, run.penXPx, run.offsetPx + topOffsetPx, true)
            .value_or(0);
    });
    engine->endDrawing();
    return image;
}

std::vector<std::int32_t> TextRenderer::cachedHeights() const {
    std::lock_guard guard(lock);
    std::vector<std::int32_t> heights;
    for (const FontEntry& entry : fonts) {
        heights.push_back(entry.height);
    }
    return heights;
}
