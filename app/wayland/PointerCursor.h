#pragma once

#include "app/wayland/Owned.h"

#include <wayland-client.h>
#include <wayland-cursor.h>

#include <cstdint>

namespace shell {

// The arrow the pointer shows over the clock's surfaces, from the cursor theme
// (XCURSOR_THEME and XCURSOR_SIZE, else the default theme at 24 pixels), drawn
// for the scale of the output.
class PointerCursor {
public:
    PointerCursor(wl_compositor* compositor, wl_shm* sharedMemory)
        : shm(sharedMemory), surface(wl_compositor_create_surface(compositor)) {}

    // Shows the arrow for the pointer that entered a surface with the serial.
    void show(wl_pointer* pointer, std::uint32_t serial, std::int32_t scale);

private:
    wl_shm* shm;
    Owned<wl_surface> surface;
    Owned<wl_cursor_theme> theme;
    std::int32_t themeScale = 0;  // the scale the theme was loaded for
};

}  // namespace shell
