#include "platform/common/Utf16.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// UTF-8 bytes worked out by hand from the code points, one case per length of
// encoding and per way a surrogate can stand alone.
TEST(Utf16, EncodesEveryLengthAndReplacesLoneSurrogates) {
    struct Case {
        std::u16string text;
        std::string utf8;
    };
    const Case cases[] = {
        {u"", ""},
        {u"Az", "Az"},
        {u"\u00e9", "\xC3\xA9"},                    // é, two bytes
        {u"\u07ff\u0800", "\xDF\xBF\xE0\xA0\x80"},  // the last two-byte and the first three-byte code point
        {u"\u2013", "\xE2\x80\x93"},                // –, three bytes
        {u"\ufffd", "\xEF\xBF\xBD"},
        {u"\U0001F30D", "\xF0\x9F\x8C\x8D"},        // 🌍, a surrogate pair, four bytes
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},        // the last code point
        {std::u16string{char16_t{0xD83C}}, "\xEF\xBF\xBD"},                // a high surrogate at the end
        {std::u16string{char16_t{0xDF0D}, u'x'}, "\xEF\xBF\xBD" "x"},      // a low surrogate first
        {std::u16string{char16_t{0xD83C}, u'x'}, "\xEF\xBF\xBD" "x"},      // a high one before a plain unit
        {std::u16string{char16_t{0xD83C}, char16_t{0xD83C}, char16_t{0xDF0D}}, "\xEF\xBF\xBD\xF0\x9F\x8C\x8D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::utf8FromUtf16(c.text), c.utf8) << c.utf8;
    }
}

// The glyph lookup gets every code point, a lone surrogate as it stands.
TEST(Utf16, CodePointsJoinPairsAndPassLoneSurrogatesOn) {
    std::vector<char32_t> seen;
    platform::forEachCodePoint(std::u16string{u'a', char16_t{0xD83C}, char16_t{0xDF0D}, char16_t{0xDC00}, u'b'},
                               [&seen](char32_t c) { seen.push_back(c); });
    EXPECT_EQ(seen, (std::vector<char32_t>{U'a', 0x1F30D, 0xDC00, U'b'}));
}
