#include "app/wayland/WaylandWindow.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The window's connection to the compositor: how it is made, the loop's turn
// over it, and what its failure says.
namespace shell {

namespace {

// What the client library last said, which the clock says in its own line
// instead: a protocol error comes with its text there.
char libraryMessage[256] = "";

void keepLibraryMessage(const char* format, va_list arguments) {
    std::vsnprintf(libraryMessage, sizeof libraryMessage, format, arguments);
    // One line: the library ends its messages with a line end.
    libraryMessage[std::strcspn(libraryMessage, "\n")] = '\0';
}

}  // namespace

Owned<wl_display> connectToCompositor() {
    const char* named = std::getenv("WAYLAND_DISPLAY");
    const char* xDisplay = std::getenv("DISPLAY");
    // A session that names only an X display runs on X, even when a compositor
    // listens on the default socket.
    const bool isNamed = named != nullptr && *named != '\0';
    if (!isNamed && xDisplay != nullptr && *xDisplay != '\0') {
        return nullptr;
    }
    // The default socket lies in the session's runtime folder; without one
    // there is no session to ask, and the library would say so on its own.
    const char* runtimeFolder = std::getenv("XDG_RUNTIME_DIR");
    if (!isNamed && (runtimeFolder == nullptr || *runtimeFolder == '\0')) {
        return nullptr;
    }
    wl_log_set_handler_client(keepLibraryMessage);
    return Owned<wl_display>(wl_display_connect(nullptr));
}

int WaylandWindow::run() {
    const int status = loop->run(*this, app, *this);
    if (status == 0) {
        wl_display_flush(display);
    }
    return status;
}

bool WaylandWindow::handleEvents() {
    if (wl_display_dispatch_pending(display) < 0) {
        return false;
    }
    checkMenuDismissed();
    closeAskedMessages();
    if (layerClosed) {
        layerClosed = false;
        setOnDesktop(false);
    }
    return true;
}

LoopConnection::Wait WaylandWindow::prepareWait() {
    if (wl_display_prepare_read(display) != 0) {
        return Wait::EventsQueued;
    }
    // A full socket keeps the rest for when it can take more. One the
    // compositor closed may still hold its last words (a protocol error),
    // which are read before the connection counts as lost.
    const bool unsent = wl_display_flush(display) < 0;
    const int flushError = errno;
    if (unsent && flushError != EAGAIN && flushError != EPIPE) {
        wl_display_cancel_read(display);
        return Wait::Failed;
    }
    return unsent && flushError == EAGAIN ? Wait::InputOrRoom : Wait::Input;
}

bool WaylandWindow::finishWait(Found found) {
    if (found.input) {
        return wl_display_read_events(display) >= 0;
    }
    wl_display_cancel_read(display);
    return !found.broken;
}

void WaylandWindow::connectionFailed() {
    closed = true;
    const int error = wl_display_get_error(display);
    app.sessionEnding(*this);
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        std::uint32_t objectId = 0;
        const std::uint32_t code = wl_display_get_protocol_error(display, &interface, &objectId);
        std::fprintf(stderr,
                     "Horavel: the compositor ended the connection for a protocol error (%s %u, code %u: %s); "
                     "the settings are saved\n",
                     interface != nullptr ? interface->name : "unknown object", objectId, code, libraryMessage);
        return;
    }
    std::fputs("Horavel: the connection to the Wayland compositor was lost; the settings are saved and the clock ends\n",
               stderr);
}

}  // namespace shell
