#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 text, as Windows file names and the fonts' runs hold it, taken apart
// into code points and written as UTF-8.
namespace platform {

// Calls visit with each code point of text in order, a surrogate pair joined into
// one; a surrogate without its partner is passed on as it is, for the caller to
// decide what it stands for.
template <typename Visit>
void forEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        visit(c);
    }
}

// text as UTF-8. Never fails: a surrogate without its partner, which no UTF-8
// can hold, becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

}  // namespace platform
