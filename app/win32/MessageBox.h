#pragma once

#include <string_view>

namespace shell {

// A message sink for the clock program: a message box without an owner window,
// the caption as its title and one OK button, waiting until it is dismissed;
// standard error when no box can be shown.
void dialogMessageSink(std::string_view caption, std::string_view text);

}  // namespace shell
