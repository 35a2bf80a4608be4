#include "app/win32/MessageBox.h"

#include "app/win32/WideText.h"

#include "platform/Messages.h"

#include <windows.h>

#include <string>

namespace shell {

void dialogMessageSink(std::string_view caption, std::string_view text) {
    const std::wstring wideCaption = wideFromUtf8(caption);
    const std::wstring wideText = wideFromUtf8(text);
    // When no dialog can be shown, as under Wine without a display, the message
    // goes to standard error. MessageBoxW answers 0 when it fails, Wine's -1.
    if (MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), MB_OK) <= 0) {
        platform::stderrMessageSink(caption, text);
    }
}

}  // namespace shell
