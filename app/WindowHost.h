#pragma once

#include "app/DesktopPlace.h"
#include "app/Layout.h"
#include "raster/PaintTarget.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// What the clock asks of the window system that shows it. Each backend
// implements it and turns its own events into calls of ClockApp; the clock never
// touches the window otherwise, and a backend never decides what the clock does.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The screens' outer rectangles, the primary one first; empty when unknown.
    virtual std::vector<PixelRect> screens() const = 0;
    // The frame around the client area: the outer window's width and height
    // less the client area's; before the window exists, the frame it will get.
    virtual PixelSize frameSize() const = 0;
    // The client area's size now, pixels.
    virtual PixelSize clientSize() const = 0;
    // The outer window's top-left corner on the screen.
    virtual PixelPoint outerPosition() const = 0;
    // The resolution of the screen the window is on, dots per inch; before the
    // window exists, the system's.
    virtual std::int32_t dpi() const = 0;
    // Moves and sizes the outer window to the rectangle, screen pixels. A window
    // system that answers at once with a size event may call back into the clock
    // before this returns.
    virtual void moveOuter(const PixelRect& outer) = 0;
    // Gives the window a client area of this size, its outer top-left corner
    // staying where it is, without painting. A window system that answers at once
    // with a size event may call back into the clock before this returns.
    virtual void resizeClient(std::int32_t widthPx, std::int32_t heightPx) = 0;
    // Asks for the whole client area to be painted again, the background first
    // when eraseBackground is true.
    virtual void invalidate(bool eraseBackground) = 0;
    // Asks for this part of the client area to be painted again, without
    // erasing.
    virtual void invalidateArea(const PixelRect& area) = 0;
    // Keeps the window above the others, or lets it go.
    virtual void setAlwaysOnTop(bool on) = 0;
    // Names the window, UTF-8, where the window system shows a title.
    virtual void setTitle(std::string_view title) = 0;
    // Where the window lies on the desktop (None while it is an ordinary window),
    // on a window system that can put it there; nothing on others, which keep
    // what the settings hold for the next start on one that can.
    virtual std::optional<DesktopPlace> desktopPlace() const { return std::nullopt; }
    // Closes the window for good; the backend's event loop ends with it.
    virtual void destroy() = 0;
};
