#pragma once

#include <cstdint>

// What the application asks of the window that shows it. Each window system
// implements it; the application logic never touches the window otherwise.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Gives the window a client area of this size, its outer top-left corner
    // staying where it is, without painting. A window system that answers at once
    // with a size event may call back into the application before this returns.
    virtual void resizeClient(std::int32_t widthPx, std::int32_t heightPx) = 0;
    // Asks for the whole client area to be painted again, the background first
    // when eraseBackground is true.
    virtual void invalidate(bool eraseBackground) = 0;
};
