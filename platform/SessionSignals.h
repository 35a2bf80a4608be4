#pragma once

// The signals that end a session as a session or service manager sends them
// (SIGTERM, SIGHUP, SIGINT), read in a program's event loop instead of in a
// handler. POSIX systems only: Windows ends a session with window messages.
namespace platform {

// The process's one descriptor for those signals, non-blocking, readable while
// one waits: the first call blocks the signals for the whole process (so call it
// first thing in main, before any thread starts, and every thread inherits the
// mask) and opens it; later calls give the same one. A signal that was set to be
// ignored when the program started (as nohup does with SIGHUP) stays ignored.
// -1 when the descriptor cannot be opened, and the signals then act as they
// would have. It stays open for the life of the process.
int sessionSignals();

// Reads one arrived signal from the descriptor: true when one was there.
bool takeSessionSignal(int descriptor);

}  // namespace platform
