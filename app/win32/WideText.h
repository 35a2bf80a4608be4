#pragma once

#include <string>
#include <string_view>

namespace shell {

// UTF-8 text as the UTF-16 the wide Windows calls take; empty when it is empty
// or holds no valid UTF-8.
std::wstring wideFromUtf8(std::string_view text);

// UTF-16 text from a wide Windows call as UTF-8; a surrogate without its
// partner becomes the replacement character.
std::string utf8FromWide(std::wstring_view text);

}  // namespace shell
