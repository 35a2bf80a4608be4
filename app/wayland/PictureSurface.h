#pragma once

#include "app/SurfaceScale.h"
#include "app/wayland/Globals.h"
#include "app/wayland/Owned.h"
#include "app/wayland/ShmBuffers.h"
#include "raster/PaintTarget.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace shell {

// A surface that shows a picture the clock draws, whole: a menu's or a
// message's, at the clock's scale, from buffers in shared memory, sized
// through the viewporter where the scale is fractional. Its owner gives it a
// role; the picture shows from the compositor's first configure on.
class PictureSurface {
public:
    // Paints the part area of the picture into the target.
    using Painter = std::function<void(PaintTarget& target, const PixelRect& area)>;

    // A surface for a picture of sizePx, its own pixels, at the scale (120ths).
    PictureSurface(const Globals& globals, PixelSize sizePx, std::int32_t scale120, Painter painter);
    // A surface for a menu's or a message's picture, which must outlive it;
    // none when the picture could not be drawn.
    template <typename Picture>
    static std::unique_ptr<PictureSurface> showing(const Picture& picture, const Globals& globals,
                                                   std::int32_t scale120) {
        if (!picture.ready()) {
            return nullptr;
        }
        return std::make_unique<PictureSurface>(
            globals, PixelSize{picture.layout().widthPx, picture.layout().heightPx}, scale120,
            [&picture](PaintTarget& target, const PixelRect& area) { picture.paint(target, area); });
    }
    PictureSurface(const PictureSurface&) = delete;
    PictureSurface& operator=(const PictureSurface&) = delete;

    wl_surface* handle() const { return surface.get(); }
    bool owns(const wl_surface* other) const { return other != nullptr && other == surface.get(); }
    // Its size on the screen, logical pixels.
    PixelSize logicalSize() const { return scaling.logical; }
    // A point of the surface (logical pixels) in the picture's pixels.
    PixelPoint pictureAt(PixelPoint atLogical) const;
    // The xdg surface its role is made from, which tells when the surface is
    // configured itself.
    xdg_surface* makeXdgSurface(xdg_wm_base* wmBase);
    // The compositor configured the surface: the picture shows from now on.
    void configured();
    // Shows the picture as it is now, once the surface is configured and the
    // compositor has handed a buffer back.
    void show();

private:
    PixelSize picturePx;
    std::int32_t scale120;
    SurfaceScaling scaling;
    Painter paint;
    ShmBuffers buffers;
    bool isConfigured = false;
    // Each goes before the one it was made from.
    Owned<wl_surface> surface;
    Owned<wp_viewport> viewport;
    Owned<xdg_surface> xdgSurface;
};

}  // namespace shell
