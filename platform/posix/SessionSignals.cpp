#include "platform/SessionSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace platform {

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

bool takeSessionSignal(int descriptor) {
    signalfd_siginfo received{};
    return descriptor >= 0 && read(descriptor, &received, sizeof received) == static_cast<ssize_t>(sizeof received);
}

}  // namespace platform
