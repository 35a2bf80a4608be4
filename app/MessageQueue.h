#pragma once

#include <string>
#include <vector>

// The clock program's messages on a window system whose shell shows them in
// windows of its own, served by its one event loop: while the queue is open,
// every message of the process, from any thread, waits here and wakes the
// loop; the loop takes them and opens a window for each. While it is closed
// (before the shell reaches its window system, and after it lets go), messages
// go to standard error as everywhere else.
namespace messagequeue {

struct Message {
    std::string caption;  // UTF-8, the window's title
    std::string text;     // UTF-8
};

// A wake-up for the loop, called on the thread that shows a message, at most
// once for each message; it must only signal the loop (write to its
// descriptor), never call back into the clock.
using Wake = void (*)(void* data);

// Becomes the process's message sink, waking the loop with wake(data).
void open(Wake wake, void* data);
// Lets go: the previous sink takes messages again. Messages still waiting are
// dropped; a message being queued on another thread is queued or sent on
// before this returns, never woken for afterwards.
void close();
// The messages that came since the last call, oldest first.
std::vector<Message> take();

}  // namespace messagequeue
