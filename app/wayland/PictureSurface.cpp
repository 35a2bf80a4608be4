#include "app/wayland/PictureSurface.h"

#include <utility>

namespace shell {

PictureSurface::PictureSurface(const Globals& globals, PixelSize sizePx, std::int32_t scale, Painter painter)
    : picturePx(sizePx),
      scale120(scale),
      scaling(surfaceScaling(sizePx, scale, globals.viewporter != nullptr)),
      paint(std::move(painter)),
      buffers(globals.shm.get()),
      surface(wl_compositor_create_surface(globals.compositor.get())) {
    if (scaling.viewport) {
        viewport.reset(wp_viewporter_get_viewport(globals.viewporter.get(), surface.get()));
        wp_viewport_set_destination(viewport.get(), scaling.logical.width, scaling.logical.height);
    }
    wl_surface_set_buffer_scale(surface.get(), scaling.bufferScale);
}

PixelPoint PictureSurface::pictureAt(PixelPoint atLogical) const {
    const PixelSize at = bufferSize({atLogical.x, atLogical.y}, scale120);
    return {at.width, at.height};
}

xdg_surface* PictureSurface::makeXdgSurface(xdg_wm_base* wmBase) {
    xdgSurface.reset(xdg_wm_base_get_xdg_surface(wmBase, surface.get()));
    static const xdg_surface_listener listener{[](void* data, xdg_surface* self, std::uint32_t serial) {
        xdg_surface_ack_configure(self, serial);
        static_cast<PictureSurface*>(data)->configured();
    }};
    xdg_surface_add_listener(xdgSurface.get(), &listener, this);
    return xdgSurface.get();
}

void PictureSurface::configured() {
    isConfigured = true;
    show();
}

void PictureSurface::show() {
    if (!isConfigured) {
        return;
    }
    const PixelRect whole{0, 0, picturePx.width, picturePx.height};
    std::size_t index = 0;
    ShmBuffer* buffer = buffers.take(picturePx, index);
    if (buffer == nullptr) {
        return;
    }
    for (const PixelRect& area : buffers.damage().paintInto(index, {whole}, whole)) {
        paint(*buffer, area);
    }
    wl_surface_attach(surface.get(), buffer->handle(), 0, 0);
    wl_surface_damage_buffer(surface.get(), 0, 0, picturePx.width, picturePx.height);
    buffer->lend();
    wl_surface_commit(surface.get());
}

}  // namespace shell
