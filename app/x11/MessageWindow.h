#pragma once

#include "app/MessagePicture.h"
#include "app/x11/XImagePaintTarget.h"

#include <X11/Xlib.h>

#include <memory>
#include <string_view>

namespace shell {

// One of the clock's messages on an X11 display: a dialog window of the
// clock's own connection, titled with the caption, kept above the clock
// (transient for it) and centred on it, showing the picture the clock draws.
// The clock's event loop hands it its events; OK, Enter, Escape, space and the
// window manager's close end it.
class MessageWindow {
public:
    // Opens the message over the clock's window, whose client area's centre is
    // at centre (root window pixels), at the resolution (dots per inch).
    MessageWindow(Display* display, Window clock, PixelPoint centre, std::string_view caption,
                  std::string_view text, std::int32_t dpi);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    bool isOpen() const { return window != 0; }
    bool owns(const XEvent& event) const { return window != 0 && event.xany.window == window; }
    // Handles one of its events: true when the message ends.
    bool handle(XEvent& event);
    // The display's connection is gone: the window goes without a word to the
    // server, which would only fail.
    void connectionGone();

private:
    void paint();

    Display* display;
    MessagePicture picture;
    Window window = 0;
    GC gc = nullptr;
    Atom deleteWindow = 0;
    std::unique_ptr<XImagePaintTarget> target;
};

}  // namespace shell
