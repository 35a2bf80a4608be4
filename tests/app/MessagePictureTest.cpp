#include "app/MessagePicture.h"

#include "text/TextRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::int32_t widthOf(const std::u16string& line) {
    TextRenderer text;
    text.initialise();
    std::int32_t widthPx = 0;
    std::int32_t heightPx = 0;
    text.measure(line, 15, widthPx, heightPx);
    return widthPx;
}

}  // namespace

// The text is wrapped to a readable width at its spaces, a word too long for a
// line is cut, paragraphs stay apart, and the OK button lies below the text.
TEST(MessagePicture, WrapsTheTextAndAnswersForItsButton) {
    const std::string word = "0123456789";
    std::string longWord;
    for (int i = 0; i < 12; ++i) {
        longWord += word;
    }
    const std::string text = "Short line.\n\nA paragraph of many words that goes on and on, well past the width "
                             "that a line of a message may take, so that it must be wrapped. " + longWord;
    const MessagePicture picture("About", text, 96);
    ASSERT_TRUE(picture.ready());
    const MessageLayout& layout = picture.layout();
    EXPECT_EQ(layout.widthPx % 4, 0);
    ASSERT_GE(layout.lines.size(), 6u);
    EXPECT_EQ(layout.lines[0], u"Short line.");
    EXPECT_EQ(layout.lines[1], u"");
    std::u16string joined;
    for (std::size_t i = 2; i < layout.lines.size(); ++i) {
        EXPECT_LE(widthOf(layout.lines[i]), layout.widthPx - 2 * layout.marginPx) << i;
        EXPECT_FALSE(layout.lines[i].empty()) << i;
        joined += layout.lines[i];
    }
    // Nothing is lost or added but the line ends, which took the place of spaces.
    std::u16string expected;
    for (const char c : text.substr(13)) {
        if (c != ' ') {
            expected += static_cast<char16_t>(c);
        }
    }
    std::erase(joined, u' ');
    EXPECT_EQ(joined, expected);

    const PixelRect& ok = layout.button;
    EXPECT_TRUE(picture.onButton(ok.left, ok.top));
    EXPECT_TRUE(picture.onButton(ok.right - 1, ok.bottom - 1));
    EXPECT_FALSE(picture.onButton(ok.right, ok.top));
    EXPECT_FALSE(picture.onButton(ok.left, ok.top - 1));
    EXPECT_GT(ok.top, layout.marginPx + static_cast<std::int32_t>(layout.lines.size()) * layout.lineHeightPx - 1);
    EXPECT_EQ(layout.heightPx, ok.bottom + layout.marginPx);

    // Broken UTF-8 and the renderer's own markup characters show as
    // replacement characters, never as markup or a cut text.
    const MessagePicture odd("Odd", std::string_view("a\xff" "b\xee\x80\x80" "c\x00" "d", 9), 96);
    ASSERT_EQ(odd.layout().lines.size(), 1u);
    EXPECT_EQ(odd.layout().lines[0], u"a\uFFFDb\uFFFDc\uFFFDd");
}
