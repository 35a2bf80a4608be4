#pragma once

#include "raster/PaintTarget.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace shell {

// Paints canvas pictures into an X11 window. Each picture painted at one place
// keeps an image of its own in the visual's pixel format: in memory shared with
// the server (MIT-SHM) when the server offers it and can reach this process's
// memory, an ordinary image sent over the connection otherwise. Only the areas
// painted are converted, and put sends only those.
class XImagePaintTarget final : public PaintTarget {
public:
    XImagePaintTarget(Display* display, Visual* visual, int depth);
    ~XImagePaintTarget() override;
    XImagePaintTarget(const XImagePaintTarget&) = delete;
    XImagePaintTarget& operator=(const XImagePaintTarget&) = delete;

    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t* rows, const PixelRect& area) override;

    // Sends the areas painted since the last put, and waits until the server
    // has them, so that shared images may be painted into again.
    void put(Window window, GC gc);
    // Forgets every picture: after a layout change the old places are stale.
    void forget();
    // The display's connection is gone: the pictures are freed from here on
    // without a word to the server, which would only fail.
    void connectionGone();

private:
    struct Picture;

    Picture* pictureAt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    // Converts the rows and columns of the picture's rows within painted (in the
    // picture's own coordinates, y down) into its image.
    void convert(Picture& picture, const std::uint8_t* rows, const PixelRect& painted) const;

    Display* display;
    Visual* visual;
    int depth;
    bool sharedMemory;  // MIT-SHM is offered and has not failed
    std::vector<std::unique_ptr<Picture>> pictures;
};

}  // namespace shell
