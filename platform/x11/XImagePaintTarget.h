#pragma once

#include "platform/PaintTarget.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Paints canvas pictures into an X11 window. Each picture painted at one place
// keeps its own image in the visual's pixel format, and only images that changed
// are sent to the server, so a repaint of an unchanged calendar costs one read.
class XImagePaintTarget final : public PaintTarget {
public:
    XImagePaintTarget(Display* display, Visual* visual, int depth);
    ~XImagePaintTarget() override;
    XImagePaintTarget(const XImagePaintTarget&) = delete;
    XImagePaintTarget& operator=(const XImagePaintTarget&) = delete;

    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t* rows) override;

    // Sends the changed pictures, or all of them when everything was exposed.
    void put(Window window, GC gc, bool everything);
    // Forgets every picture: after a layout change the old places are stale.
    void forget();

private:
    struct Region;

    Region& regionAt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    // Brings the region's image up to date with the picture: true when it changed.
    bool convert(Region& region, const std::uint8_t* rows) const;

    Display* display;
    Visual* visual;
    int depth;
    std::vector<std::unique_ptr<Region>> regions;
};

}  // namespace platform
