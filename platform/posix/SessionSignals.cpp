#include "platform/SessionSignals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace platform {

namespace {

int openSessionSignals() {
    sigset_t endingSignals;
    sigemptyset(&endingSignals);
    sigaddset(&endingSignals, SIGTERM);
    sigaddset(&endingSignals, SIGHUP);
    sigaddset(&endingSignals, SIGINT);
    if (sigprocmask(SIG_BLOCK, &endingSignals, nullptr) != 0) {
        return -1;
    }
    return signalfd(-1, &endingSignals, SFD_CLOEXEC | SFD_NONBLOCK);
}

}  // namespace

int sessionSignals() {
    static const int descriptor = openSessionSignals();
    return descriptor;
}

bool takeSessionSignal(int descriptor) {
    signalfd_siginfo received{};
    return descriptor >= 0 && read(descriptor, &received, sizeof received) == static_cast<ssize_t>(sizeof received);
}

bool sessionSignalWaiting(int descriptor) {
    pollfd waiting{descriptor, POLLIN, 0};
    return descriptor >= 0 && poll(&waiting, 1, 0) > 0 && (waiting.revents & POLLIN) != 0;
}

}  // namespace platform
