#pragma once

#include <string_view>

namespace shell {

// A message sink for the clock program: a small window on the X display with the
// text, the caption as its title and an OK button, waiting until it is dismissed;
// standard error when no display can be opened.
void dialogMessageSink(std::string_view caption, std::string_view text);

}  // namespace shell
