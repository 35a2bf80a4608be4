#include "app/x11/MenuWindow.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace shell {

namespace {

// The character a key types, with Shift and the locks as they are: the keysym
// XLookupString gives, as Unicode (Latin-1 keysyms are their own code points,
// others carry theirs above 0x01000000); 0 for a key that types none.
char32_t typedBy(const XKeyEvent& event) {
    KeySym symbol = NoSymbol;
    char bytes[8];
    XLookupString(const_cast<XKeyEvent*>(&event), bytes, sizeof bytes, &symbol, nullptr);
    if ((symbol >= 0x20 && symbol <= 0x7e) || (symbol >= 0xa0 && symbol <= 0xff)) {
        return static_cast<char32_t>(symbol);
    }
    if ((symbol & 0xff000000) == 0x01000000) {
        return static_cast<char32_t>(symbol & 0x00ffffff);
    }
    return 0;
}

constexpr long menuEvents = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | LeaveWindowMask;

}  // namespace

MenuWindow::MenuWindow(Display* connection, std::vector<MenuItem> items, std::int32_t dpi, PixelPoint at)
    : display(connection), picture(items, dpi), session(std::move(items)), openedAt(at) {
    if (!picture.ready()) {
        return;
    }
    const int screen = DefaultScreen(display);
    const MenuLayout& layout = picture.layout();
    origin = menuOrigin(at, layout, {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.event_mask = menuEvents;
    window = XCreateWindow(display, RootWindow(display, screen), origin.x, origin.y,
                           static_cast<unsigned>(layout.widthPx), static_cast<unsigned>(layout.heightPx), 0,
                           CopyFromParent, InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWSaveUnder | CWEventMask, &attributes);
    // What the window is, for tools and compositors.
    Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False),
                    XInternAtom(display, "ATOM", False), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
    XStoreName(display, window, "Horavel menu");
    gc = XCreateGC(display, window, 0, nullptr);
    target = std::make_unique<XImagePaintTarget>(display, DefaultVisual(display, screen),
                                                 DefaultDepth(display, screen));
    XMapRaised(display, window);
    // Every click and key goes to the menu while it is open, wherever it happens.
    const bool pointerHeld =
        XGrabPointer(display, window, False,
                     static_cast<unsigned>(ButtonPressMask | ButtonReleaseMask | PointerMotionMask), GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
    const bool keyboardHeld =
        XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    open = pointerHeld && keyboardHeld;
    paint();
}

MenuWindow::~MenuWindow() {
    if (window == 0) {
        return;
    }
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    target.reset();
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    XFlush(display);
}

void MenuWindow::connectionGone() {
    if (target) {
        target->connectionGone();
    }
    target.reset();
    window = 0;
}

bool MenuWindow::owns(const XEvent& event) const {
    switch (event.type) {
    case KeyPress:
    case KeyRelease:
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
        return true;
    default:
        return event.xany.window == window;
    }
}

std::int32_t MenuWindow::itemAt(int xPx, int yPx) const {
    return menuItemAt(picture.layout(), session.items(), xPx, yPx);
}

MenuOutcome MenuWindow::handle(const XEvent& event) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) {
            target->forget();
            paint();
        }
        return {};
    case KeyPress: {
        const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
        const MenuOutcome outcome = session.keysym(static_cast<std::uint32_t>(key), typedBy(event.xkey));
        paint();
        return outcome;
    }
    case MotionNotify: {
        // Grabbed events report the pointer on the root window as well; one
        // where the menu was opened is no move.
        if (event.xmotion.x_root != openedAt.x || event.xmotion.y_root != openedAt.y) {
            session.pointerMoved();
        }
        if (session.pointAt(itemAt(event.xmotion.x_root - origin.x, event.xmotion.y_root - origin.y))) {
            paint();
        }
        return {};
    }
    case LeaveNotify:
        if (session.pointAt(-1)) {
            paint();
        }
        return {};
    case ButtonPress: {
        const int x = event.xbutton.x_root - origin.x;
        const int y = event.xbutton.y_root - origin.y;
        if (x < 0 || y < 0 || x >= picture.layout().widthPx || y >= picture.layout().heightPx) {
            return MenuSession::pressOutside();
        }
        session.press();
        return {};
    }
    case ButtonRelease:
        return session.release(itemAt(event.xbutton.x_root - origin.x, event.xbutton.y_root - origin.y));
    default:
        return {};
    }
}

void MenuWindow::paint() {
    if (window == 0) {
        return;
    }
    picture.draw(session.items(), session.highlighted());
    picture.paint(*target, {0, 0, picture.layout().widthPx, picture.layout().heightPx});
    target->put(window, gc);
}

}  // namespace shell
