#include "FakeFontEngine.h"
#include "text/TextRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class TextRendering : public FakeFontTest {
protected:
    struct Measured {
        std::int32_t topOffsetPx;
        std::int32_t widthPx;
        std::int32_t heightPx;
    };
    Measured measure(std::u16string_view text, std::int32_t heightPx) {
        Measured m{};
        m.topOffsetPx = renderer.measure(text, heightPx, m.widthPx, m.heightPx);
        return m;
    }

    // The green byte at x, y (y counted down from the image's top row).
    static std::uint8_t coverageAt(const TextImage& image, std::int32_t x, std::int32_t y) {
        const std::size_t row = static_cast<std::size_t>(image.height - 1 - y);
        return image.bits[3 * (row * static_cast<std::size_t>(image.width) + x) + 1];
    }

};

TEST_F(TextRendering, RaisedAndLoweredRunsWidenTheBox) {
    struct Case {
        const char16_t* text;
        Measured expected;
    };
    // x at 24 is 12 wide; 2 at 14 is 7 wide and sits 2 above the top (raised) or
    // 12 below it (lowered), reaching 26.
    const Case cases[] = {
        {u"ab", {0, 24, 24}},
        {u"x\uE0002", {2, 19, 26}},
        {u"x\uE0012", {0, 19, 26}},
    };
    for (const Case& c : cases) {
        const Measured m = measure(c.text, 24);
        EXPECT_EQ(m.topOffsetPx, c.expected.topOffsetPx);
        EXPECT_EQ(m.widthPx, c.expected.widthPx);
        EXPECT_EQ(m.heightPx, c.expected.heightPx);
    }
}

TEST_F(TextRendering, PushedRunsShareTheirStartAndTheWiderOneCounts) {
    EXPECT_EQ(measure(u"\uE002\uE00022\uE003\uE0013", 24).widthPx, 14);
    EXPECT_EQ(measure(u"\uE002\uE0002\uE003\uE001333", 24).widthPx, 21);
    EXPECT_EQ(measure(u"\uE003ab", 24).widthPx, 24);
}

TEST_F(TextRendering, RenderPlacesRunsAtTheirOffsets) {
    const std::unique_ptr<TextImage> image = renderer.render(u"x\uE0002", 24);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 20);  // 19 rounded up to a multiple of 4
    EXPECT_EQ(image->height, 26);
    EXPECT_EQ(image->topOffset, 2);
    ASSERT_EQ(record->draws.size(), 2u);
    EXPECT_EQ(record->draws[0].penXPx, 0);
    EXPECT_EQ(record->draws[0].topYPx, 2);
    EXPECT_EQ(record->draws[1].penXPx, 12);
    EXPECT_EQ(record->draws[1].topYPx, 0);
    EXPECT_EQ(record->draws[1].cellHeightPx, 14);

    // Rows are bottom-up: the letter's cell covers rows 2…25 from the top, the
    // superscript's rows 0…13.
    EXPECT_EQ(coverageAt(*image, 0, 1), 0);
    EXPECT_EQ(coverageAt(*image, 0, 2), 255);
    EXPECT_EQ(coverageAt(*image, 0, 25), 255);
    EXPECT_EQ(coverageAt(*image, 12, 0), 255);
    EXPECT_EQ(coverageAt(*image, 12, 14), 0);
    EXPECT_EQ(coverageAt(*image, 19, 5), 0);  // the padding column
    EXPECT_EQ(record->liveFonts, 2);
    EXPECT_EQ(renderer.findFont(24)->useCount, 1);  // every run handed its font back
}

// Text too small, empty text or markup alone draw nothing; a failed bitmap and
// one of 20000 characters at 30000 pixels (far more than 2 GB of bits) give no
// image.
TEST_F(TextRendering, NothingToDrawGivesNoImage) {
    EXPECT_EQ(measure(u"abc", 1).widthPx, 0);
    EXPECT_EQ(renderer.render(u"abc", 1), nullptr);
    EXPECT_EQ(renderer.render(u"", 24), nullptr);
    EXPECT_EQ(renderer.render(u"\uE000\uE002\uE003", 24), nullptr);
    EXPECT_TRUE(record->draws.empty());
    EXPECT_EQ(renderer.render(std::u16string(20000, u'a'), 30000), nullptr);
    record->failBitmaps = true;
    EXPECT_EQ(renderer.render(u"ab", 24), nullptr);
}

TEST_F(TextRendering, RunWithoutAFontIsSkipped) {
    record->failingHeights.insert(14);
    const Measured m = measure(u"x\uE0002\uE001y", 24);
    EXPECT_EQ(m.widthPx, 24);
    EXPECT_EQ(m.topOffsetPx, 0);
    EXPECT_EQ(m.heightPx, 24);
    const std::unique_ptr<TextImage> image = renderer.render(u"x\uE0002\uE001y", 24);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(record->draws.size(), 2u);
    EXPECT_EQ(record->draws[1].penXPx, 12);
}

}  // namespace
