#include "platform/Messages.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

namespace platform {

namespace {

std::atomic<MessageSink> installedSink{nullptr};

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// File names are bytes (taken as UTF-8) on POSIX systems and UTF-16 on Windows,
// where they may hold unpaired surrogates. Only one of the two is used on each.
[[maybe_unused]] std::string utf8FromNative(std::string_view text) { return std::string(text); }

[[maybe_unused]] std::string utf8FromNative(std::wstring_view text) {
    constexpr std::uint32_t replacement = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size()) {
            const auto next = static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF;
            if (next >= 0xDC00 && next < 0xE000) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? replacement : unit);
    }
    return out;
}

}  // namespace

void showMessage(std::string_view caption, std::string_view text) {
    const MessageSink sink = installedSink.load();
    (sink != nullptr ? sink : stderrMessageSink)(caption, text);
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
