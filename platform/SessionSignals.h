#pragma once

// The signals that end a session as a session or service manager sends them
// (SIGTERM, SIGHUP, SIGINT), read in a program's event loop instead of in a
// handler. POSIX systems only: Windows ends a session with window messages.
namespace platform {

// The process's one descriptor for those signals, non-blocking, readable while
// one waits: the first call blocks the signals for the whole process (so call it
// first thing in main, before any thread starts, and every thread inherits the
// mask) and opens it; later calls give the same one. -1 when that cannot be
// done, and the signals then act as they would have. It stays open for the life
// of the process.
int sessionSignals();

// Reads one arrived signal from the descriptor: true when one was there.
bool takeSessionSignal(int descriptor);

// True when a signal waits on the descriptor, left there for the event loop
// to take: for a dialog, which then closes so that the loop can end the clock.
bool sessionSignalWaiting(int descriptor);

}  // namespace platform
