#include "app/wayland/PointerCursor.h"

#include <cstdlib>

namespace shell {

namespace {

// The cursor's size at 100 %, pixels: XCURSOR_SIZE when it says one, else 24.
int cursorSize() {
    const char* size = std::getenv("XCURSOR_SIZE");
    const long named = size != nullptr ? std::strtol(size, nullptr, 10) : 0;
    return named > 0 && named <= 256 ? static_cast<int>(named) : 24;
}

}  // namespace

void PointerCursor::show(wl_pointer* pointer, std::uint32_t serial, std::int32_t scale) {
    if (!theme || themeScale != scale) {
        theme.reset(wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), cursorSize() * scale, shm));
        themeScale = scale;
    }
    wl_cursor* arrow = theme ? wl_cursor_theme_get_cursor(theme.get(), "left_ptr") : nullptr;
    if (arrow == nullptr || arrow->image_count == 0) {
        return;
    }
    wl_cursor_image* image = arrow->images[0];
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (buffer == nullptr) {
        return;
    }
    // A buffer scale must divide the picture's size; a theme without a picture
    // of that size gives one drawn for scale 1.
    const std::int32_t bufferScale = image->width % scale == 0 && image->height % scale == 0 ? scale : 1;
    wl_pointer_set_cursor(pointer, serial, surface.get(), static_cast<std::int32_t>(image->hotspot_x) / bufferScale,
                          static_cast<std::int32_t>(image->hotspot_y) / bufferScale);
    wl_surface_set_buffer_scale(surface.get(), bufferScale);
    wl_surface_attach(surface.get(), buffer, 0, 0);
    wl_surface_damage_buffer(surface.get(), 0, 0, static_cast<std::int32_t>(image->width),
                             static_cast<std::int32_t>(image->height));
    wl_surface_commit(surface.get());
}

}  // namespace shell
