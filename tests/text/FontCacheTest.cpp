#include "FakeFontEngine.h"
#include "text/TextRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class FontCache : public FakeFontTest {
protected:
    // Uses heights first…last once each, handing every font back.
    void useHeights(std::int32_t first, std::int32_t last) {
        for (std::int32_t h = first; h <= last; ++h) {
            FontEntry* entry = renderer.getFont(h);
            ASSERT_NE(entry, nullptr);
            renderer.releaseFont(entry);
        }
    }

};

TEST_F(FontCache, CreatesOnceAndCountsUses) {
    FontEntry* first = renderer.getFont(20);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->height, 20);
    EXPECT_EQ(first->cellHeight, 20);
    EXPECT_EQ(first->ascent, 15);
    EXPECT_EQ(first->descent, 5);
    EXPECT_EQ(first->useCount, 1);
    EXPECT_EQ(renderer.getFont(20), first);
    EXPECT_EQ(first->useCount, 2);
    EXPECT_EQ(renderer.findFont(20), first);
    EXPECT_EQ(first->useCount, 3);
    EXPECT_EQ(record->createdHeights, std::vector<std::int32_t>{20});

    for (int i = 0; i < 4; ++i) {
        renderer.releaseFont(first);
    }
    EXPECT_EQ(first->useCount, 0);  // never below 0
    EXPECT_EQ(renderer.findFont(30), nullptr);  // finding never creates
    EXPECT_EQ(record->createdHeights.size(), 1u);
}

TEST_F(FontCache, ThirteenthHeightEvictsTheLeastRecentlyUsed) {
    useHeights(10, 21);
    EXPECT_EQ(renderer.cachedHeights().size(), 12u);
    useHeights(22, 22);
    const std::vector<std::int32_t> expected = {22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11};
    EXPECT_EQ(renderer.cachedHeights(), expected);
    EXPECT_EQ(record->liveFonts, 12);  // the evicted font was destroyed
}

TEST_F(FontCache, ReuseMakesAFontMostRecentlyUsed) {
    useHeights(10, 21);
    renderer.releaseFont(renderer.findFont(10));
    useHeights(11, 11);  // a cached height: promoted, nothing created
    useHeights(22, 22);
    const std::vector<std::int32_t> expected = {22, 11, 10, 21, 20, 19, 18, 17, 16, 15, 14, 13};
    EXPECT_EQ(renderer.cachedHeights(), expected);
    EXPECT_EQ(record->createdHeights.size(), 13u);
}

TEST_F(FontCache, FontsInUseAreNotEvicted) {
    FontEntry* held = renderer.getFont(10);
    useHeights(11, 21);
    useHeights(22, 22);
    // 10 is the oldest but busy: the next oldest idle one, 11, goes instead.
    const std::vector<std::int32_t> heights = renderer.cachedHeights();
    EXPECT_EQ(heights.back(), 10);
    EXPECT_EQ(std::count(heights.begin(), heights.end(), 11), 0);
    EXPECT_EQ(held->useCount, 1);
    renderer.releaseFont(held);
}

TEST_F(FontCache, GrowsWhenEveryFontIsBusy) {
    std::vector<FontEntry*> held;
    for (std::int32_t h = 10; h <= 23; ++h) {
        held.push_back(renderer.getFont(h));
    }
    EXPECT_EQ(renderer.cachedHeights().size(), 14u);
    for (FontEntry* entry : held) {
        renderer.releaseFont(entry);
    }
    // Each new font evicts at most one idle font.
    useHeights(24, 24);
    EXPECT_EQ(renderer.cachedHeights().size(), 14u);
}

}  // namespace
