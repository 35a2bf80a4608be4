#pragma once

#include "app/wayland/LayerShellProtocol.h"
#include "app/wayland/Owned.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace shell {

// The name the desktop entry is installed under, which desktops match the
// clock's windows to for their icon and name.
inline constexpr const char* applicationId = "com.brantolm.Horavel";

// A screen the compositor shows surfaces on, and its whole scale.
struct Output {
    Owned<wl_output> handle;
    std::uint32_t name = 0;  // the registry's name of the global
    std::int32_t scale = 1;
    std::int32_t widthPx = 0;  // its current mode, the screen's own pixels; 0 until told
    std::int32_t heightPx = 0;
};

// What the compositor offers that the clock uses, bound from its registry. The
// optional ones stay null where they are not offered.
struct Globals {
    Owned<wl_registry> registry;  // let go last
    Owned<wl_compositor> compositor;
    Owned<wl_shm> shm;
    Owned<wl_seat> seat;
    Owned<xdg_wm_base> wmBase;
    Owned<zxdg_decoration_manager_v1> decorations;
    Owned<wp_viewporter> viewporter;
    Owned<wp_fractional_scale_manager_v1> fractionalScale;
    Owned<zwlr_layer_shell_v1> layerShell;
    std::uint32_t layerShellVersion = 0;
    std::vector<std::unique_ptr<Output>> outputs;
    // What the seat has (WL_SEAT_CAPABILITY_* bits), as it last said: it says
    // so first during the binding, before any window listens. seatChanged, when
    // set, hears each later change with seatChangedData.
    std::uint32_t seatCapabilities = 0;
    void (*seatChanged)(void* data, wl_seat* seat, std::uint32_t capabilities) = nullptr;
    void* seatChangedData = nullptr;

    // Binds what the registry offers and waits until the outputs have told
    // their scales; false when the connection failed meanwhile.
    bool bind(wl_display* display);
    // The output of a handle; null for one not known.
    Output* output(const wl_output* handle) const;
    // The largest scale of all outputs, 1 without any.
    std::int32_t largestScale() const;

private:
    static void onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                         std::uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
    static void onSeatCapabilities(void* data, wl_seat* seat, std::uint32_t capabilities);
};

}  // namespace shell
