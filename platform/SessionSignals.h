#pragma once

// The signals that end a session as a session or service manager sends them
// (SIGTERM, SIGHUP, SIGINT), read in a program's event loop instead of in a
// handler. POSIX systems only: Windows ends a session with window messages.
namespace platform {

// Blocks the signals for the whole process from here on and gives a
// non-blocking descriptor that becomes readable when one arrives; -1 when that
// cannot be done, and the signals then act as they would have.
int openSessionSignals();

// Reads one arrived signal from the descriptor: true when one was there.
bool takeSessionSignal(int descriptor);

}  // namespace platform
