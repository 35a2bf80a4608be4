#pragma once

#include "app/MenuPicture.h"
#include "app/MenuSession.h"
#include "app/x11/XImagePaintTarget.h"

#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace shell {

// The clock's menu on an X11 display: a window of its own, which the window
// manager leaves alone (override-redirect), showing the picture the clock draws.
// While it is open it holds the pointer and the keyboard, so that every key and
// click reaches it: the arrows, Home, End, Enter, Escape and the items' keys
// move and choose, characters typed go to an entry; a click outside closes it.
class MenuWindow {
public:
    // Opens the menu with the items for the point at (root window pixels), kept
    // on the screen. isOpen() is false when it could not be shown or could not
    // hold the pointer and keyboard.
    MenuWindow(Display* display, std::vector<MenuItem> items, std::int32_t dpi, PixelPoint at);
    ~MenuWindow();
    MenuWindow(const MenuWindow&) = delete;
    MenuWindow& operator=(const MenuWindow&) = delete;

    bool isOpen() const { return open; }
    // The point it was opened for, root window pixels: where a menu that
    // follows it opens.
    PixelPoint openedFor() const { return openedAt; }
    // The display's connection is gone: the menu goes without a word to the
    // server, which would only fail.
    void connectionGone();
    // Whether the event belongs to the menu: every event of its window, and
    // while it holds them, every key and pointer event.
    bool owns(const XEvent& event) const;
    // Handles an event it owns: whether it closes, and what was chosen.
    MenuOutcome handle(const XEvent& event);

private:
    void paint();
    std::int32_t itemAt(int xPx, int yPx) const;

    Display* display;
    MenuPicture picture;
    MenuSession session;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XImagePaintTarget> target;
    PixelPoint origin;          // the menu's top-left corner, root window pixels
    PixelPoint openedAt;        // where the pointer was asked to open it, root window pixels
    bool open = false;
};

}  // namespace shell
