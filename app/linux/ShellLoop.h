#pragma once

#include "app/ClockApp.h"
#include "app/WindowHost.h"

#include <cstdint>
#include <string_view>

namespace shell {

// The exit status of a clock whose connection to its display failed (the X
// server or the compositor went away, or ended it): not a request to end, so
// that a session or service manager tells it from a close, which ends with 0.
inline constexpr int displayLostStatus = 1;

// What the loop asks of the Linux shell it serves, in the order of a turn.
class LoopConnection {
public:
    // What the loop waits for on the connection: input, or input and room to
    // send what is left; or no wait, events read already waiting to be
    // handled; or no wait, the connection failed.
    enum class Wait : std::uint8_t { Input, InputOrRoom, EventsQueued, Failed };
    // What the wait found on the connection.
    struct Found {
        bool input = false;   // it can be read
        bool broken = false;  // it hung up or failed, or the wait itself failed
    };

    virtual bool isClosed() const = 0;
    // The descriptor the connection's input arrives on.
    virtual int descriptor() const = 0;
    // Handles the events read so far; false when the connection failed.
    virtual bool handleEvents() = 0;
    // Paints what changed and is not shown yet.
    virtual void paintWaiting() = 0;
    // Sends what is buffered and says what to wait for.
    virtual Wait prepareWait() = 0;
    // Reads what the wait found, or lets the read go; false when the
    // connection failed.
    virtual bool finishWait(Found found) = 0;
    // Shows one of the clock's messages in a window of its own; false when it
    // cannot, and the message goes to standard error.
    virtual bool showMessage(std::string_view caption, std::string_view text) = 0;
    // The connection failed: the clock saves its settings, the shell says why
    // on standard error and sends nothing more.
    virtual void connectionFailed() = 0;

protected:
    ~LoopConnection() = default;
};

// The one loop of a Linux shell. It waits on the window system's connection,
// the clock's 250 ms tick (a timerfd), the signals that end a session
// (SIGTERM, SIGHUP, SIGINT, through the process's signalfd) and the clock's
// messages at once, and turns each into calls of the clock or the shell, so
// that no message keeps the clock from ticking or from ending. While the
// clock has idle work the wait does not wait, and a turn in which nothing
// arrived does a slice of that work.
class ShellLoop {
public:
    // Opens the tick and takes the clock's messages for the loop from now on:
    // the loop's place is where they wake it, and it never moves.
    ShellLoop();
    ShellLoop(const ShellLoop&) = delete;
    ShellLoop& operator=(const ShellLoop&) = delete;
    // Messages go to standard error again.
    ~ShellLoop();

    // Serves the window until it is closed: 0, or displayLostStatus when its
    // connection failed.
    int run(LoopConnection& connection, ClockApp& app, WindowHost& window);

private:
    // Ticks the clock when a tick came since the last: once after a stall of
    // several periods (a suspended machine, a long rebuild).
    void tickWhenDue(ClockApp& app, WindowHost& window) const;
    void showMessages(LoopConnection& connection) const;

    int timer = -1;        // the 250 ms tick, a timerfd, or -1
    int signals = -1;      // the process's descriptor that reads SIGTERM, SIGHUP and SIGINT, or -1
    int messageWake = -1;  // an eventfd that a message waiting for the loop makes readable, or -1
};

}  // namespace shell
