#include "app/linux/ShellLoop.h"

#include "app/MessageQueue.h"
#include "platform/Messages.h"
#include "platform/SessionSignals.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>

namespace shell {

namespace {

int openTickTimer() {
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (timer < 0) {
        return -1;
    }
    itimerspec period{};
    period.it_interval.tv_nsec = static_cast<long>(tickPeriodMs) * 1000000L;
    period.it_value = period.it_interval;
    timerfd_settime(timer, 0, &period, nullptr);
    return timer;
}

// Wakes the loop for a message, from whichever thread shows it.
void wakeForMessage(void* descriptor) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(*static_cast<const int*>(descriptor), &one, sizeof one);
}

// Empties a timerfd or an eventfd: how many times it fired since, 0 for none.
std::uint64_t takeCount(int descriptor) {
    std::uint64_t count = 0;
    return read(descriptor, &count, sizeof count) == static_cast<ssize_t>(sizeof count) ? count : 0;
}

}  // namespace

ShellLoop::ShellLoop()
    : timer(openTickTimer()),
      signals(platform::sessionSignals()),
      messageWake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    // From here on messages wait for the loop, which shows them in windows of
    // their own once the clock's window is there.
    if (messageWake >= 0) {
        messagequeue::open(wakeForMessage, &messageWake);
    }
}

ShellLoop::~ShellLoop() {
    if (messageWake >= 0) {
        messagequeue::close();
        close(messageWake);
    }
    if (timer >= 0) {
        close(timer);
    }
}

int ShellLoop::run(LoopConnection& connection, ClockApp& app, WindowHost& window) {
    while (!connection.isClosed()) {
        if (!connection.handleEvents()) {
            connection.connectionFailed();
            return displayLostStatus;
        }
        if (connection.isClosed()) {
            break;
        }
        // Ticks come here rather than after the wait, so that a stream of
        // events that never lets the loop wait never holds them back.
        tickWhenDue(app, window);
        connection.paintWaiting();
        const LoopConnection::Wait wait = connection.prepareWait();
        if (wait == LoopConnection::Wait::EventsQueued) {
            continue;
        }
        if (wait == LoopConnection::Wait::Failed) {
            connection.connectionFailed();
            return displayLostStatus;
        }
        // Work for idle moments only looks whether anything waits.
        const bool idleWork = app.hasIdleWork();
        const auto connectionEvents =
            static_cast<short>(wait == LoopConnection::Wait::InputOrRoom ? POLLIN | POLLOUT : POLLIN);
        pollfd descriptors[4] = {{connection.descriptor(), connectionEvents, 0},
                                 {timer, POLLIN, 0},
                                 {signals, POLLIN, 0},
                                 {messageWake, POLLIN, 0}};
        const int result = poll(descriptors, 4, idleWork ? 0 : -1);
        const short found = result > 0 ? descriptors[0].revents : 0;
        // A wait that failed for another reason than a signal leaves nothing
        // to wait on.
        const bool broken = (result < 0 && errno != EINTR) || (found & (POLLERR | POLLHUP)) != 0;
        if (!connection.finishWait({(found & POLLIN) != 0, broken})) {
            connection.connectionFailed();
            return displayLostStatus;
        }
        if (result > 0 && (descriptors[2].revents & POLLIN) != 0 && platform::takeSessionSignal(signals)) {
            // Asked to end, as a session or service manager asks: save, then close.
            app.sessionEnding(window);
            window.destroy();
        }
        if (result > 0 && (descriptors[3].revents & POLLIN) != 0 && !connection.isClosed()) {
            showMessages(connection);
        }
        if (idleWork && result == 0 && !connection.isClosed()) {
            app.idle(window);
        }
    }
    return 0;
}

void ShellLoop::tickWhenDue(ClockApp& app, WindowHost& window) const {
    if (timer >= 0 && takeCount(timer) > 0) {
        app.tick(window);
    }
}

void ShellLoop::showMessages(LoopConnection& connection) const {
    takeCount(messageWake);
    for (const messagequeue::Message& message : messagequeue::take()) {
        if (!connection.showMessage(message.caption, message.text)) {
            platform::stderrMessageSink(message.caption, message.text);
        }
    }
}

}  // namespace shell
