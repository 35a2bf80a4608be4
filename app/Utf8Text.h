#pragma once

#include <string>
#include <string_view>

// UTF-8 text as the clock's text renderer takes it, UTF-16; each byte that does
// not begin a well-formed sequence becomes one replacement character, as does
// a sequence for a surrogate or past U+10FFFF. The renderer's markup
// characters and the controls other than the line end would steer or cut the
// text, so they show as the replacement character too.
std::u16string utf16FromUtf8(std::string_view text);

// Appends a code point to UTF-8 text; a surrogate or a number past U+10FFFF,
// which UTF-8 cannot hold, is not appended.
void appendUtf8(std::string& text, char32_t codePoint);

// Removes the last code point of UTF-8 text: its lead byte and the
// continuation bytes after it. Nothing happens to empty text.
void eraseLastCodePoint(std::string& text);
