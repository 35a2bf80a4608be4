#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Messages to the user: a caption and a line of text, both UTF-8. Every message
// goes to one process-wide sink. The default sink writes "caption: text" to
// standard error, so tests, tools and fuzzing never wait for a person; the clock
// program's window shell installs the sink that shows messages in its windows
// (a message box on Windows, the clock's own message windows on Linux once the
// shell has reached its window system).
namespace platform {

using MessageSink = void (*)(std::string_view caption, std::string_view text);

// Hands a message to the installed sink.
void showMessage(std::string_view caption, std::string_view text);

// Installs sink for the whole process (null restores the default) and returns the
// sink it replaces. Meant for start-up and for tests; the sink is swapped
// atomically, but a sink being replaced may still be running on another thread.
MessageSink setMessageSink(MessageSink sink);

// For work the user would lose without a word (settings that could not be
// saved, a map that could not be read): "caption: text" on standard error, and
// the same through the installed sink when that is not standard error already.
// The sink runs on a thread of its own, so that a dialog waiting for its OK
// never stops the caller, whichever sink is installed (the Linux shells only
// queue it for their loop; a Windows message box waits on the thread it gets).
void reportLoss(std::string_view caption, std::string_view text);

// Writes "caption: text" and a line end to standard error.
void stderrMessageSink(std::string_view caption, std::string_view text);
// Drops every message: for fuzzing, where messages would only be noise.
void nullMessageSink(std::string_view caption, std::string_view text);
// A file name as UTF-8 text for a message. Never fails: a name that is not valid
// Unicode keeps its valid parts and gets U+FFFD for the rest.
std::string utf8FromPath(const std::filesystem::path& path);

// Installs a sink for the life of a scope and restores the previous one.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink sink) : previous(setMessageSink(sink)) {}
    ~ScopedMessageSink() { setMessageSink(previous); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink previous;
};

}  // namespace platform
