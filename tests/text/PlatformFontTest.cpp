#include "text/TextImage.h"
#include "text/TextRenderer.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

// These tests use the platform's own font engine and the real face, so they check
// only what holds for any glyph shapes.
namespace {

class PlatformFont : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(renderer.initialise(), 1); }

    std::int32_t widthOf(std::u16string_view text, std::int32_t heightPx) {
        std::int32_t widthPx = 0;
        std::int32_t textHeightPx = 0;
        renderer.measure(text, heightPx, widthPx, textHeightPx);
        return widthPx;
    }

    TextRenderer renderer;
};

TEST_F(PlatformFont, FontsHaveTheAskedCellHeight) {
    for (std::int32_t h : {9, 14, 21, 24, 40}) {
        FontEntry* entry = renderer.getFont(h);
        ASSERT_NE(entry, nullptr) << h;
        // The height asks for the cell, not the em (which would make the cell 1.3
        // times larger for this face); GDI rounds the ascent and the descent from
        // a whole-pixel em each on its own, which can leave the cell a pixel off.
        EXPECT_NEAR(entry->cellHeight, h, 1);
        EXPECT_EQ(entry->ascent + entry->descent, entry->cellHeight);
        EXPECT_GT(entry->ascent, entry->descent);
        EXPECT_GT(entry->descent, 0);
        renderer.releaseFont(entry);
    }
}

TEST_F(PlatformFont, RunWidthIsTheSumOfItsCharacters) {
    // No kerning: a run is as wide as its characters one by one.
    EXPECT_EQ(widthOf(u"10:08", 21),
              widthOf(u"1", 21) + widthOf(u"0", 21) + widthOf(u":", 21) + widthOf(u"0", 21) +
                  widthOf(u"8", 21));
    EXPECT_GT(widthOf(u"0000", 40), widthOf(u"0000", 20));
}

TEST_F(PlatformFont, RendersWhiteOnBlack) {
    const std::unique_ptr<TextImage> image = renderer.render(u"2026/12/09 10:08:30", 21);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width % 4, 0);
    EXPECT_GE(image->width, widthOf(u"2026/12/09 10:08:30", 21));
    EXPECT_LT(image->width, widthOf(u"2026/12/09 10:08:30", 21) + 4);
    EXPECT_EQ(image->height, 21);
    EXPECT_EQ(image->topOffset, 0);

    std::int32_t inkedPixels = 0;
    std::uint8_t brightest = 0;
    std::int32_t columnsWithInk = 0;
    for (std::int32_t x = 0; x < image->width; ++x) {
        bool columnInked = false;
        for (std::int32_t y = 0; y < image->height; ++y) {
            const std::uint8_t* p =
                image->bits + 3 * (static_cast<std::size_t>(y) * image->width + x);
            ASSERT_EQ(p[0], p[1]) << x << ", " << y;  // grey: white ink on black
            ASSERT_EQ(p[2], p[1]) << x << ", " << y;
            if (p[1] != 0) {
                ++inkedPixels;
                columnInked = true;
            }
            brightest = std::max(brightest, p[1]);
        }
        columnsWithInk += columnInked ? 1 : 0;
    }
    EXPECT_EQ(brightest, 255);  // stems get full ink
    EXPECT_GT(inkedPixels, image->width * image->height / 10);
    // The ink spreads over the text, not one corner of it.
    EXPECT_GT(columnsWithInk, image->width / 2);
}

}  // namespace
