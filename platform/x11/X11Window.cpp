#include "platform/x11/X11Window.h"

#include "app/ScreenPlacement.h"
#include "app/Settings.h"
#include "app/WindowEvents.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>

namespace platform {

namespace {

constexpr auto tickPeriod = std::chrono::milliseconds(250);
// The smallest client area offered to the window manager: the unit 8, pixels.
constexpr std::int32_t smallestUnit = 8;

}  // namespace

X11Window::X11Window(AppState& appState, const Clock& systemClock)
    : state(appState), clock(systemClock) {}

X11Window::~X11Window() {
    target.reset();
    if (display != nullptr) {
        if (gc != nullptr) {
            XFreeGC(display, gc);
        }
        if (window != 0 && !closed) {
            XDestroyWindow(display, window);
        }
        XCloseDisplay(display);
    }
}

bool X11Window::open() {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    FaceState& face = state.face;
    clientSize = {gridColumns * face.unit, gridRows * face.unit};

    const std::array<WindowRect, 1> screens{
        WindowRect{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)}};
    bringOntoScreen(state.windowLeft, state.windowTop, clientSize.width, clientSize.height, screens);

    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = ExposureMask | KeyPressMask | StructureNotifyMask;
    window = XCreateWindow(display, root, state.windowLeft, state.windowTop,
                           static_cast<unsigned>(clientSize.width),
                           static_cast<unsigned>(clientSize.height), 0, CopyFromParent,
                           InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    if (window == 0) {
        return false;
    }
    XStoreName(display, window, "Horavel");
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const unsigned char title[] = "Horavel";
    XChangeProperty(display, window, netWmName, utf8String, 8, PropModeReplace, title,
                    static_cast<int>(sizeof title - 1));
    XClassHint classHint{};
    char className[] = "Horavel";
    char instanceName[] = "horavel";
    classHint.res_name = instanceName;
    classHint.res_class = className;
    XSetClassHint(display, window, &classHint);

    // The window manager keeps the client area on the grid by itself when it
    // honours these; when it does not, ConfigureNotify snaps it.
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = USPosition | PPosition | PMinSize | PBaseSize | PResizeInc;
        hints->x = state.windowLeft;
        hints->y = state.windowTop;
        hints->min_width = gridColumns * smallestUnit;
        hints->min_height = gridRows * smallestUnit;
        hints->base_width = 0;
        hints->base_height = 0;
        hints->width_inc = gridColumns;
        hints->height_inc = gridRows;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }
    deleteWindowAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    frameExtentsAtom = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    XSetWMProtocols(display, window, &deleteWindowAtom, 1);

    gc = XCreateGC(display, window, 0, nullptr);
    target = std::make_unique<XImagePaintTarget>(display, DefaultVisual(display, screen),
                                                 DefaultDepth(display, screen));

    // The same start as on every system: a rebuild that sets the window's size,
    // then the unit taken from the client height and a second rebuild. X11
    // reports client sizes, so the frame measures nothing here.
    rebuildWindow(state, *this, clock, true);
    state.frameWidth = 0;
    state.frameHeight = 0;
    handleCreated(state, *this, clock, clientSize.height);

    XMapWindow(display, window);
    XFlush(display);
    return true;
}

int X11Window::run() {
    using SteadyClock = std::chrono::steady_clock;
    auto nextTick = SteadyClock::now() + tickPeriod;
    const int connection = ConnectionNumber(display);
    while (!closed) {
        while (!closed && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            onEvent(event);
        }
        if (closed) {
            break;
        }
        auto now = SteadyClock::now();
        if (now >= nextTick) {
            handleTimer(state, *this, clock);
            nextTick += tickPeriod;
            // After a stall (a suspended machine, a long rebuild) tick once and
            // start a fresh period instead of catching up on the missed ticks.
            if (nextTick <= now) {
                nextTick = now + tickPeriod;
            }
        }
        if (paintPending) {
            paint();
        }
        XFlush(display);
        if (XPending(display) > 0) {
            continue;
        }
        now = SteadyClock::now();
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextTick - now);
        pollfd descriptor{connection, POLLIN, 0};
        const int result = poll(&descriptor, 1, static_cast<int>(std::max<long long>(wait.count(), 0)));
        if (result < 0 && errno != EINTR) {
            break;
        }
        if (result > 0 && (descriptor.revents & (POLLERR | POLLHUP)) != 0) {
            break;
        }
    }
    return 0;
}

void X11Window::onEvent(XEvent& event) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) {
            paintPending = true;
            exposeAll = true;
        }
        break;
    case ConfigureNotify:
        onConfigure(event.xconfigure);
        break;
    case KeyPress:
        onKeyPress(event.xkey);
        break;
    case ClientMessage:
        if (event.xclient.format == 32 &&
            static_cast<Atom>(event.xclient.data.l[0]) == deleteWindowAtom) {
            close();
        }
        break;
    case DestroyNotify:
        closed = true;
        break;
    default:
        break;
    }
}

void X11Window::onConfigure(const XConfigureEvent& event) {
    const ClientSize reported{event.width, event.height};
    if (reported == clientSize) {
        return;
    }
    const ClientSize snapped = snapClientSize(clientSize, reported);
    clientSize = snapped;
    if (snapped != reported) {
        XResizeWindow(display, window, static_cast<unsigned>(snapped.width),
                      static_cast<unsigned>(snapped.height));
    }
    handleSize(state, *this, clock, snapped.height);
}

void X11Window::onKeyPress(XKeyEvent& event) {
    const KeySym key = XLookupKeysym(&event, 0);
    char32_t upperCaseKey = 0;
    if (key == XK_s || key == XK_S) {
        upperCaseKey = U'S';
    } else if (key == XK_m || key == XK_M) {
        upperCaseKey = U'M';
    } else if (key == XK_l || key == XK_L) {
        upperCaseKey = U'L';
    }
    if (upperCaseKey != 0) {
        ::handleKey(state, *this, clock, upperCaseKey);
    }
}

void X11Window::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    if (widthPx < 1 || heightPx < 1) {
        return;
    }
    clientSize = {widthPx, heightPx};
    XResizeWindow(display, window, static_cast<unsigned>(widthPx), static_cast<unsigned>(heightPx));
}

void X11Window::invalidate(bool eraseBackground) {
    paintPending = true;
    if (eraseBackground) {
        // The layout changed: old pictures sit at stale places and the black
        // background must show wherever the new ones do not reach.
        target->forget();
        XClearWindow(display, window);
        exposeAll = true;
    }
}

void X11Window::paint() {
    paintWindow(state, *target);
    target->put(window, gc, exposeAll);
    paintPending = false;
    exposeAll = false;
}

void X11Window::outerPosition(std::int32_t& left, std::int32_t& top) const {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // left, right, top, bottom frame widths, when a window manager framed the window.
    if (XGetWindowProperty(display, window, frameExtentsAtom, 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &remaining, &data) == Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 4) {
            const auto* extents = reinterpret_cast<const long*>(data);
            x -= static_cast<int>(extents[0]);
            y -= static_cast<int>(extents[2]);
        }
        XFree(data);
    }
    left = x;
    top = y;
}

void X11Window::close() {
    Settings settings;
    outerPosition(settings.left, settings.top);
    settings.unit = state.face.unit;
    static_cast<void>(writeSettingsFile(state.settingsFolder, settings));
    XDestroyWindow(display, window);
    XFlush(display);
    closed = true;
}

}  // namespace platform
