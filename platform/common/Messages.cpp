#include "platform/Messages.h"

#include "platform/common/Utf16.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <system_error>
#include <thread>

namespace platform {

namespace {

std::atomic<MessageSink> installedSink{nullptr};

// File names are bytes (taken as UTF-8) on POSIX systems and UTF-16 on Windows,
// where they may hold unpaired surrogates. Only one of the two is used on each.
[[maybe_unused]] std::string utf8FromNative(std::string_view text) { return std::string(text); }

[[maybe_unused]] std::string utf8FromNative(std::wstring_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (const wchar_t unit : text) {
        units += static_cast<char16_t>(unit);  // UTF-16 code units where this overload serves
    }
    return utf8FromUtf16(units);
}

}  // namespace

void showMessage(std::string_view caption, std::string_view text) {
    const MessageSink sink = installedSink.load();
    (sink != nullptr ? sink : stderrMessageSink)(caption, text);
}

void reportLoss(std::string_view caption, std::string_view text) {
    stderrMessageSink(caption, text);
    const MessageSink sink = installedSink.load();
    if (sink == nullptr || sink == stderrMessageSink || sink == nullMessageSink) {
        return;
    }
    try {
        std::thread([sink, caption = std::string(caption), text = std::string(text)] { sink(caption, text); })
            .detach();
    } catch (const std::system_error&) {
        // No thread to be had: standard error has said it.
    }
}

MessageSink setMessageSink(MessageSink sink) { return installedSink.exchange(sink); }

void stderrMessageSink(std::string_view caption, std::string_view text) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
}

void nullMessageSink(std::string_view, std::string_view) {}

std::string utf8FromPath(const std::filesystem::path& path) {
    return utf8FromNative(std::basic_string_view<std::filesystem::path::value_type>(path.native()));
}

}  // namespace platform
