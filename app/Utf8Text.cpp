#include "app/Utf8Text.h"

namespace {

constexpr char16_t replacement = u'\uFFFD';

// Appends a code point as UTF-16, or the replacement character for one the
// renderer must not see.
void appendCodePoint(std::u16string& out, char32_t c) {
    if ((c < 0x20 && c != U'\n') || (c >= 0xE000 && c <= 0xE003) || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        out += replacement;
    } else if (c >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

}  // namespace

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = length <= 1 ? lead : lead & (0x7Fu >> length);
        bool wellFormed = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto trail = static_cast<unsigned char>(text[i + k]);
            wellFormed = (trail & 0xC0) == 0x80;
            c = (c << 6) | (trail & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!wellFormed || c < smallest[length]) {
            out += replacement;
            ++i;
            continue;
        }
        appendCodePoint(out, c);
        i += length;
    }
    return out;
}

void appendUtf8(std::string& text, char32_t c) {
    const auto byte = [&text](char32_t bits) { text += static_cast<char>(static_cast<unsigned char>(bits)); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c <= 0xDFFF) {
        return;
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else if (c <= 0x10FFFF) {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

void eraseLastCodePoint(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}
