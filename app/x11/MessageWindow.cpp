#include "app/x11/MessageWindow.h"

#include "platform/Messages.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

// A small modal-looking window on the X display: the caption as its title, the
// text in its lines, and an OK button. It opens its own display connection, so it
// works before the clock's window exists and leaves that window's events alone.
namespace shell {

namespace {

constexpr int marginPx = 16;
constexpr int buttonWidthPx = 72;
constexpr int buttonHeightPx = 26;
constexpr int minimumWidthPx = 260;

// The core font speaks Latin-1: other characters show as '?'.
std::string latin1FromUtf8(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        length = std::min(length, text.size() - i);
        if (length == 1) {
            out += lead < 0x80 ? static_cast<char>(lead) : '?';
        } else if (length == 2 && lead < 0xC4) {
            const auto trail = static_cast<std::uint8_t>(text[i + 1]);
            out += static_cast<char>(((lead & 0x1F) << 6) | (trail & 0x3F));
        } else {
            out += '?';
        }
        i += length;
    }
    return out;
}

struct MessageLayout {
    int widthPx;
    int heightPx;
    int textBaselinePx;  // of the first line
    int lineHeightPx;
    int buttonLeftPx;
    int buttonTopPx;
};

// The text's lines, split at its line ends.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

MessageLayout layOut(const XFontStruct* font, const std::vector<std::string>& lines) {
    int textWidthPx = 0;
    for (const std::string& line : lines) {
        textWidthPx = std::max(textWidthPx, font != nullptr ? XTextWidth(const_cast<XFontStruct*>(font), line.data(),
                                                                         static_cast<int>(line.size()))
                                                            : static_cast<int>(line.size()) * 6);
    }
    const int ascentPx = font != nullptr ? font->ascent : 10;
    const int descentPx = font != nullptr ? font->descent : 3;
    MessageLayout layout{};
    layout.widthPx = std::max(minimumWidthPx, textWidthPx + 2 * marginPx);
    layout.textBaselinePx = marginPx + ascentPx;
    layout.lineHeightPx = ascentPx + descentPx;
    layout.buttonTopPx = layout.textBaselinePx + static_cast<int>(lines.size() - 1) * layout.lineHeightPx +
                         descentPx + marginPx;
    layout.buttonLeftPx = (layout.widthPx - buttonWidthPx) / 2;
    layout.heightPx = layout.buttonTopPx + buttonHeightPx + marginPx;
    return layout;
}

void draw(Display* display, Window window, GC gc, const XFontStruct* font, const MessageLayout& layout,
          const std::vector<std::string>& lines) {
    XClearWindow(display, window);
    int baselinePx = layout.textBaselinePx;
    for (const std::string& line : lines) {
        XDrawString(display, window, gc, marginPx, baselinePx, line.data(), static_cast<int>(line.size()));
        baselinePx += layout.lineHeightPx;
    }
    XDrawRectangle(display, window, gc, layout.buttonLeftPx, layout.buttonTopPx, buttonWidthPx, buttonHeightPx);
    const char ok[] = "OK";
    const int okWidthPx = font != nullptr ? XTextWidth(const_cast<XFontStruct*>(font), ok, 2) : 12;
    const int okAscentPx = font != nullptr ? font->ascent : 10;
    XDrawString(display, window, gc, layout.buttonLeftPx + (buttonWidthPx - okWidthPx) / 2,
                layout.buttonTopPx + (buttonHeightPx + okAscentPx) / 2 - 1, ok, 2);
    XFlush(display);
}

bool onButton(const MessageLayout& layout, int xPx, int yPx) {
    return xPx >= layout.buttonLeftPx && xPx <= layout.buttonLeftPx + buttonWidthPx &&
           yPx >= layout.buttonTopPx && yPx <= layout.buttonTopPx + buttonHeightPx;
}

void setTitle(Display* display, Window window, std::string_view caption) {
    const std::string latin1 = latin1FromUtf8(caption);
    XStoreName(display, window, latin1.c_str());
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, netName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(caption.data()), static_cast<int>(caption.size()));
    const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window, windowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dialogType), 1);
}

// Makes the dialog's window, centred on the screen at the layout's fixed size,
// asking for the events the dialog handles; it is not shown yet.
Window createMessageWindow(Display* display, std::string_view caption, const MessageLayout& layout,
                           Atom deleteWindow) {
    const int screen = DefaultScreen(display);
    const int left = std::max(0, (DisplayWidth(display, screen) - layout.widthPx) / 2);
    const int top = std::max(0, (DisplayHeight(display, screen) - layout.heightPx) / 2);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), left, top,
                                              static_cast<unsigned>(layout.widthPx),
                                              static_cast<unsigned>(layout.heightPx), 1,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    setTitle(display, window, caption);
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = PPosition | PMinSize | PMaxSize;
        hints->x = left;
        hints->y = top;
        hints->min_width = hints->max_width = layout.widthPx;
        hints->min_height = hints->max_height = layout.heightPx;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask | StructureNotifyMask);
    return window;
}

// True when the event ends the dialog: OK clicked, Return, Escape or space
// pressed, the window manager's close, or the window gone.
bool dismisses(XEvent& event, const MessageLayout& layout, Atom deleteWindow) {
    switch (event.type) {
        case ButtonPress:
            return onButton(layout, event.xbutton.x, event.xbutton.y);
        case KeyPress: {
            const KeySym key = XLookupKeysym(&event.xkey, 0);
            return key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space;
        }
        case ClientMessage:
            return static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
        case DestroyNotify:
            return true;
        default:
            return false;
    }
}

// Shows the window and waits until it is dismissed.
void runMessageWindow(Display* display, std::string_view caption, std::string_view text) {
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    const std::vector<std::string> lines = linesOf(latin1FromUtf8(text));
    const MessageLayout layout = layOut(font, lines);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Window window = createMessageWindow(display, caption, layout, deleteWindow);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, BlackPixel(display, DefaultScreen(display)));
    if (font != nullptr) {
        XSetFont(display, gc, font->fid);
    }
    XMapRaised(display, window);

    for (bool open = true; open;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
            draw(display, window, gc, font, layout, lines);
        }
        open = !dismisses(event, layout, deleteWindow);
    }
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    if (font != nullptr) {
        XFreeFont(display, font);
    }
}

// The dialog's connection is gone: the X server went away, and the clock's own
// connection notices too and ends the process after saving its settings; or
// only this client was killed, and the clock goes on. Either way this thread
// only waits; left to Xlib, it would end the process at once from here.
[[noreturn]] void waitForTheClockToEnd(Display*, void*) {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
}

// The dialog on a display connection of its own, or standard error without one.
void showMessageWindow(const std::string& caption, const std::string& text) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        platform::stderrMessageSink(caption, text);
        return;
    }
    XSetIOErrorExitHandler(display, waitForTheClockToEnd, nullptr);
    runMessageWindow(display, caption, text);
    XCloseDisplay(display);
}

}  // namespace

void dialogMessageSink(std::string_view caption, std::string_view text) {
    // The dialog waits for its OK on a thread of its own, with a display
    // connection of its own, so that the clock's loop never stops for it.
    try {
        std::thread(showMessageWindow, std::string(caption), std::string(text)).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the words still reach the user.
        platform::stderrMessageSink(caption, text);
    }
}

}  // namespace shell
