#pragma once

#include "app/WindowHost.h"

#include <cstdint>

// A window host that keeps its own account of where its window stands, instead
// of asking the window system each time: the client area's size, the outer
// window's corner and the screen's resolution, as last reported or asked for.
// The account outlives the window system's connection, so the place can still
// be saved after it is gone.
class TrackedWindowHost : public WindowHost {
public:
    PixelSize clientSize() const final { return client; }
    PixelPoint outerPosition() const final { return outer; }
    std::int32_t dpi() const final { return resolution; }

protected:
    explicit TrackedWindowHost(std::int32_t screenDpi) : resolution(screenDpi) {}

    PixelSize client;         // the client area, pixels
    PixelPoint outer;         // the outer window's top-left corner, screen pixels
    std::int32_t resolution;  // the screen's resolution, dots per inch
};
