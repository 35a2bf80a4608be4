#include "app/x11/MessageWindow.h"

#include "app/x11/WindowNames.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

namespace shell {

namespace {

constexpr long messageEvents = ExposureMask | KeyPressMask | ButtonPressMask | StructureNotifyMask;

// Asks for a dialog's frame and place, above the clock's window.
void markAsDialog(Display* display, Window window) {
    Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dialogType), 1);
}

}  // namespace

MessageWindow::MessageWindow(Display* connection, Window clock, PixelPoint centre, std::string_view caption,
                             std::string_view text, std::int32_t dpi)
    : display(connection), picture(caption, text, dpi) {
    if (!picture.ready()) {
        return;
    }
    const MessageLayout& layout = picture.layout();
    const int screen = DefaultScreen(display);
    const int left = std::clamp(centre.x - layout.widthPx / 2, 0,
                                std::max(0, DisplayWidth(display, screen) - layout.widthPx));
    const int top = std::clamp(centre.y - layout.heightPx / 2, 0,
                               std::max(0, DisplayHeight(display, screen) - layout.heightPx));
    XSetWindowAttributes attributes{};
    attributes.event_mask = messageEvents;
    window = XCreateWindow(display, RootWindow(display, screen), left, top, static_cast<unsigned>(layout.widthPx),
                           static_cast<unsigned>(layout.heightPx), 0, CopyFromParent, InputOutput, CopyFromParent,
                           CWEventMask, &attributes);
    nameWindow(display, window, caption);
    markAsDialog(display, window);
    XSetTransientForHint(display, window, clock);
    // Its size is the text's: the window manager is asked to keep it.
    if (XSizeHints* hints = XAllocSizeHints(); hints != nullptr) {
        hints->flags = PPosition | PMinSize | PMaxSize;
        hints->x = left;
        hints->y = top;
        hints->min_width = hints->max_width = layout.widthPx;
        hints->min_height = hints->max_height = layout.heightPx;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    gc = XCreateGC(display, window, 0, nullptr);
    target = std::make_unique<XImagePaintTarget>(display, DefaultVisual(display, screen),
                                                 DefaultDepth(display, screen));
    XMapRaised(display, window);
}

MessageWindow::~MessageWindow() {
    target.reset();
    if (gc != nullptr) {
        XFreeGC(display, gc);
    }
    if (window != 0) {
        XDestroyWindow(display, window);
    }
}

void MessageWindow::connectionGone() {
    if (target) {
        target->connectionGone();
    }
    target.reset();
    gc = nullptr;
    window = 0;
}

bool MessageWindow::handle(XEvent& event) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) {
            target->forget();
            paint();
        }
        return false;
    case KeyPress:
        return keyEndsMessage(static_cast<std::uint32_t>(XLookupKeysym(&event.xkey, 0)));
    case ButtonPress:
        return event.xbutton.button == Button1 && picture.onButton(event.xbutton.x, event.xbutton.y);
    case ClientMessage:
        return static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    case DestroyNotify:
        // Gone already: nothing is left to destroy.
        window = 0;
        return true;
    default:
        return false;
    }
}

void MessageWindow::paint() {
    const MessageLayout& layout = picture.layout();
    picture.paint(*target, {0, 0, layout.widthPx, layout.heightPx});
    target->put(window, gc);
}

}  // namespace shell
