#pragma once

#include <string_view>

namespace shell {

// A message sink for the clock program: a small window on the X display with the
// text, the caption as its title and an OK button, shown until it is dismissed
// or a signal ends the session, on a thread of its own so that the caller goes
// on at once; standard error when no display can be opened.
void dialogMessageSink(std::string_view caption, std::string_view text);

}  // namespace shell
