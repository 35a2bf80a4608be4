#include "platform/SessionSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <initializer_list>

namespace platform {

namespace {

int openSessionSignals() {
    sigset_t endingSignals;
    sigemptyset(&endingSignals);
    for (const int ending : {SIGTERM, SIGHUP, SIGINT}) {
        // A signal the starter set to be ignored stays ignored (nohup's
        // SIGHUP): blocking it would make it arrive.
        struct sigaction current {};
        if (sigaction(ending, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&endingSignals, ending);
        }
    }
    sigset_t previous;
    if (sigprocmask(SIG_BLOCK, &endingSignals, &previous) != 0) {
        return -1;
    }
    const int descriptor = signalfd(-1, &endingSignals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (descriptor < 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
    }
    return descriptor;
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

}  // namespace platform
