#include "app/x11/X11Window.h"

#include "app/Keys.h"
#include "app/x11/ImposedSize.h"
#include "app/x11/StayAbove.h"
#include "app/x11/WindowIcon.h"
#include "app/x11/WindowNames.h"

#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace shell {

namespace {

// The window whose clock saves its settings when the display goes away, and
// its connection. The I/O error handler is the process's: it acts only for
// the window's own connection, which only the window's thread uses.
X11Window* windowOfConnection = nullptr;
std::atomic<Display*> connectionOfWindow{nullptr};

// The resolution desktops set for their programs as Xft.dpi in the display's
// resource database (the scaling of a desktop's settings); 96 when unset or
// out of reason.
std::int32_t resourceDpi(Display* display) {
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr) {
        return baseDpi;
    }
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (database == nullptr) {
        return baseDpi;
    }
    char* type = nullptr;
    XrmValue value{};
    double dpi = baseDpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) == True && value.addr != nullptr) {
        dpi = std::strtod(value.addr, nullptr);
    }
    XrmDestroyDatabase(database);
    return dpi >= 48.0 && dpi <= 960.0 ? static_cast<std::int32_t>(std::lround(dpi)) : 96;
}

// The program's icon for _NET_WM_ICON, built into the program: each
// cardinal in a long, as Xlib wants 32-bit properties.
std::vector<unsigned long> windowIcon() {
    const std::span<const std::uint32_t> cardinals = windowIconCardinals();
    return {cardinals.begin(), cardinals.end()};
}

// The button of a press, as the clock tells them apart.
PointerButton buttonOf(unsigned int button) {
    return button == Button1 ? PointerButton::Left : button == Button3 ? PointerButton::Right : PointerButton::Other;
}

}  // namespace

X11Window::~X11Window() {
    if (windowOfConnection == this) {
        connectionOfWindow = nullptr;
        windowOfConnection = nullptr;
    }
    // Messages shown from now on go to standard error.
    loop.reset();
    // A menu or messages still open (the session ended while they showed) go
    // while the display they live on is still open.
    menu.reset();
    messages.clear();
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

bool X11Window::open(const StartOptions& options) {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    loop = std::make_unique<ShellLoop>();
    windowOfConnection = this;
    connectionOfWindow = display;
    XSetIOErrorHandler(onIoError);
    deleteWindowAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    frameExtentsAtom = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    stateAtom = XInternAtom(display, "_NET_WM_STATE", False);
    resolution = resourceDpi(display);
    const WindowPlacement placement = app.start(*this, options);
    createWindow(placement);
    app.created(*this);
    XMapWindow(display, window);
    XFlush(display);
    return true;
}

void X11Window::createWindow(const WindowPlacement& placement) {
    const int screen = DefaultScreen(display);
    client = placement.client;
    outer = placement.outer;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    // Property changes tell when the window manager has measured its frame.
    attributes.event_mask =
        ExposureMask | KeyPressMask | ButtonPressMask | FocusChangeMask | StructureNotifyMask | PropertyChangeMask;
    window = XCreateWindow(display, RootWindow(display, screen), placement.outer.x, placement.outer.y,
                           static_cast<unsigned>(client.width), static_cast<unsigned>(client.height), 0,
                           CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask,
                           &attributes);
    nameWindow(display, window, app.title());
    // Which process shows the window, for window managers and for tools.
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    const long pid = getpid();
    XChangeProperty(display, window, netWmPid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    const std::vector<unsigned long> icon = windowIcon();
    if (!icon.empty()) {
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(icon.data()),
                        static_cast<int>(icon.size()));
    }

    // The window manager keeps the client area on the grid by itself when it
    // honours these; when it does not, the clock snaps the size it reports.
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = USPosition | PPosition | PMinSize | PMaxSize | PBaseSize | PResizeInc;
        hints->x = placement.outer.x;
        hints->y = placement.outer.y;
        hints->min_width = gridColumns * smallestWindowUnit;
        hints->min_height = gridRows * smallestWindowUnit;
        hints->max_width = gridColumns * largestWindowUnit;
        hints->max_height = gridRows * largestWindowUnit;
        hints->base_width = 0;
        hints->base_height = 0;
        hints->width_inc = gridColumns;
        hints->height_inc = gridRows;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }
    XSetWMProtocols(display, window, &deleteWindowAtom, 1);
    stayAbove(display, window, false, placement.alwaysOnTop);
    gc = XCreateGC(display, window, 0, nullptr);
    target = std::make_unique<XImagePaintTarget>(display, DefaultVisual(display, screen),
                                                 DefaultDepth(display, screen));
}

int X11Window::run() { return loop->run(*this, app, *this); }

bool X11Window::handleEvents() {
    if (eventsMayWait) {
        handleQueuedEvents();
    }
    eventsMayWait = false;
    return true;
}

void X11Window::paintWaiting() {
    if (waiting.pending()) {
        paint();
    }
}

LoopConnection::Wait X11Window::prepareWait() {
    // Sends what is buffered; Xlib then also reads what the connection holds,
    // or what a round trip brought along, into its queue, where a wait on the
    // connection cannot see it.
    XFlush(display);
    if (QLength(display) > 0) {
        eventsMayWait = true;
        return Wait::EventsQueued;
    }
    return Wait::Input;
}

bool X11Window::finishWait(Found found) {
    eventsMayWait = found.input;
    return !found.broken;
}

void X11Window::handleQueuedEvents() {
    while (!closed && XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        onEvent(event);
    }
    if (configurePending && !closed) {
        configurePending = false;
        followConfiguration();
    }
}

void X11Window::followConfiguration() {
    // A change of state alone leaves the size as the clock knows it, which may
    // be one it asked for and the server has not answered yet.
    if (sizeConfigured) {
        sizeConfigured = false;
    } else {
        configuredClient = client;
    }
    if (sizeImposed(display, window)) {
        // Maximised or full screen: the clock draws inside the size, and keeps
        // the place and unit it had before (still the outer position known).
        imposed = true;
        client = configuredClient;
        app.sizeImposed(*this, client);
        updateOuterPosition();
        return;
    }
    client = configuredClient;
    updateOuterPosition();
    if (imposed) {
        imposed = false;
        app.sizeFreed(*this);
    } else {
        app.sizeReported(*this, client);
    }
    app.placeChanged(*this);
}

// On standard error, where the session's log keeps it.
static void sayConnectionLost() {
    std::fputs("Horavel: the connection to the X server was lost; the settings are saved and the clock ends\n",
               stderr);
}

void X11Window::connectionFailed() {
    sayConnectionLost();
    app.sessionEnding(*this);
    closed = true;
    // Nothing may be sent to a connection that is gone, not even a goodbye.
    if (menu) {
        menu->connectionGone();
    }
    menu.reset();
    for (const std::unique_ptr<MessageWindow>& message : messages) {
        message->connectionGone();
    }
    messages.clear();
    if (target) {
        target->connectionGone();
    }
    connectionOfWindow = nullptr;
    display = nullptr;
    gc = nullptr;
    target.reset();
}

int X11Window::onIoError(Display* lost) {
    // Only the clock's own connection ends the clock here.
    if (lost == nullptr || lost != connectionOfWindow.load()) {
        return 0;
    }
    // Xlib would end the program when this returns; the settings are saved
    // first, from what the clock already knows, and it ends as the loop ends
    // it for a lost display.
    sayConnectionLost();
    windowOfConnection->app.sessionEnding(*windowOfConnection);
    std::exit(displayLostStatus);
}

bool X11Window::showMessage(std::string_view caption, std::string_view text) {
    // Centred on the clock's client area.
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), client.width / 2, client.height / 2, &x, &y,
                          &child);
    auto shown = std::make_unique<MessageWindow>(display, window, PixelPoint{x, y}, caption, text, resolution);
    if (!shown->isOpen()) {
        return false;
    }
    messages.push_back(std::move(shown));
    return true;
}

void X11Window::onEvent(XEvent& event) {
    for (auto message = messages.begin(); message != messages.end(); ++message) {
        if ((*message)->owns(event)) {
            if ((*message)->handle(event)) {
                messages.erase(message);
            }
            return;
        }
    }
    if (menu && menu->owns(event)) {
        const MenuOutcome outcome = menu->handle(event);
        if (outcome.closes) {
            closeMenu(outcome);
        }
        return;
    }
    // What is left of a message or a menu already gone (its DestroyNotify
    // above all) is not the clock's.
    if (event.xany.window != window) {
        return;
    }
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) {
            waiting.addAll();
        }
        break;
    case ConfigureNotify:
        // Followed once the events at hand are handled: a window manager that
        // maximises the window may tell its new state after its new size.
        configuredClient = {event.xconfigure.width, event.xconfigure.height};
        sizeConfigured = true;
        configurePending = true;
        break;
    case MapNotify:
        mapped = true;
        updateOuterPosition();
        break;
    case UnmapNotify:
        mapped = false;
        break;
    case ReparentNotify:
        updateOuterPosition();
        break;
    case PropertyNotify:
        if (event.xproperty.atom == frameExtentsAtom) {
            updateOuterPosition();
        } else if (event.xproperty.atom == stateAtom) {
            configurePending = true;
        }
        break;
    case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        if (MenuSession::opensOnKey(static_cast<std::uint32_t>(key), (event.xkey.state & ShiftMask) != 0)) {
            // From the keyboard the menu opens at the client area's corner.
            int x = 0;
            int y = 0;
            Window child = 0;
            XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
            openMenu(app.menu(), {x, y});
        } else {
            app.key(*this, letterOfKeysym(static_cast<std::uint32_t>(key)));
        }
        break;
    }
    case ButtonPress:
        if (MenuSession::opensOnButton(buttonOf(event.xbutton.button))) {
            openMenu(app.menu(), {event.xbutton.x_root, event.xbutton.y_root});
        }
        break;
    case FocusOut:
        // The window lost the focus to another while the menu was open.
        if (menu && event.xfocus.mode != NotifyGrab && event.xfocus.mode != NotifyUngrab) {
            closeMenu({});
        }
        break;
    case ClientMessage:
        if (event.xclient.format == 32 &&
            static_cast<Atom>(event.xclient.data.l[0]) == deleteWindowAtom) {
            app.closeRequested(*this);
        }
        break;
    case DestroyNotify:
        menu.reset();
        closed = true;
        break;
    default:
        break;
    }
}

std::vector<PixelRect> X11Window::screens() const {
    const int screen = DefaultScreen(display);
    return {PixelRect{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)}};
}

bool X11Window::frameExtents(long extents[4]) const {
    if (window == 0) {
        return false;
    }
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, frameExtentsAtom, 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &remaining, &data) == Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 4) {
            std::copy_n(reinterpret_cast<const long*>(data), 4, extents);
            found = true;
        }
        XFree(data);
    }
    return found;
}

PixelSize X11Window::frameSize() const {
    long extents[4] = {};
    if (!frameExtents(extents)) {
        return {};
    }
    return {static_cast<std::int32_t>(extents[0] + extents[1]),
            static_cast<std::int32_t>(extents[2] + extents[3])};
}

void X11Window::updateOuterPosition() {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    long extents[4] = {};
    if (frameExtents(extents)) {
        x -= static_cast<int>(extents[0]);
        y -= static_cast<int>(extents[2]);
    }
    outer = {x, y};
}

void X11Window::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    if (widthPx < 1 || heightPx < 1) {
        return;
    }
    client = {widthPx, heightPx};
    XResizeWindow(display, window, static_cast<unsigned>(widthPx), static_cast<unsigned>(heightPx));
}

void X11Window::moveOuter(const PixelRect& outerRect) {
    long extents[4] = {};
    frameExtents(extents);
    const auto width = static_cast<std::int32_t>(outerRect.right - outerRect.left - extents[0] - extents[1]);
    const auto height = static_cast<std::int32_t>(outerRect.bottom - outerRect.top - extents[2] - extents[3]);
    if (width < 1 || height < 1) {
        return;
    }
    client = {width, height};
    // Window managers place a framed window by its frame's corner.
    XMoveResizeWindow(display, window, outerRect.left, outerRect.top, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
}

void X11Window::invalidate(bool eraseBackground) {
    waiting.addAll();
    if (eraseBackground) {
        // The layout changed: old pictures sit at stale places and the black
        // background must show wherever the new ones do not reach.
        target->forget();
        XClearWindow(display, window);
    }
}

void X11Window::openMenu(std::vector<MenuItem> items, PixelPoint at) {
    menu = std::make_unique<MenuWindow>(display, std::move(items), resolution, at);
    if (!menu->isOpen()) {
        menu.reset();
    }
}

void X11Window::closeMenu(const MenuOutcome& outcome) {
    const PixelPoint at = menu->openedFor();
    menu.reset();
    if (outcome.chosen == MenuCommand::TimeZone) {
        // The choice of zones opens where the menu did.
        openMenu(zoneMenuItems(outcome.zone), at);
        return;
    }
    app.menuChosen(*this, outcome.chosen, outcome.zone);
}

void X11Window::setTitle(std::string_view title) {
    nameWindow(display, window, title);
}

void X11Window::setAlwaysOnTop(bool on) {
    stayAbove(display, window, mapped, on);
}

void X11Window::destroy() {
    XDestroyWindow(display, window);
    XFlush(display);
    closed = true;
}

void X11Window::invalidateArea(const PixelRect& area) { waiting.add(area); }

void X11Window::paint() {
    for (const PixelRect& area : waiting.take(app.clientArea())) {
        app.paint(*target, area);
    }
    target->put(window, gc);
}

}  // namespace shell
