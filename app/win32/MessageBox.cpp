#include "app/win32/MessageBox.h"

#include "platform/Messages.h"

#include <windows.h>

#include <string>

namespace shell {

namespace {

std::wstring wideFromUtf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, wide.data(), units);
    return wide;
}

}  // namespace

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
