#pragma once

#include <string>
#include <string_view>

namespace shell {

// UTF-8 text as the UTF-16 the wide Windows calls take; empty when it is empty
// or holds no valid UTF-8.
std::wstring wideFromUtf8(std::string_view text);

}  // namespace shell
