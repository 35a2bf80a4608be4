#include "app/wayland/Globals.h"

#include <algorithm>
#include <cstring>

namespace shell {

namespace {

// The versions the clock speaks, at most: a compositor offering less is bound
// at its own.
constexpr std::uint32_t compositorVersion = 4;  // damage_buffer came in 4
constexpr std::uint32_t outputVersion = 2;      // scale came in 2
constexpr std::uint32_t seatVersion = 5;
constexpr std::uint32_t layerShellWanted = 4;  // on-demand keyboard focus came in 4

template <typename Interface>
Owned<Interface> bindAt(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
                        std::uint32_t offered, std::uint32_t wanted) {
    return Owned<Interface>(
        static_cast<Interface*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted))));
}

void onGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                const char*, const char*, std::int32_t) {}

void onMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
        auto* output = static_cast<Output*>(data);
        output->widthPx = width;
        output->heightPx = height;
    }
}

void onDone(void*, wl_output*) {}

void onScale(void* data, wl_output*, std::int32_t factor) { static_cast<Output*>(data)->scale = std::max(factor, 1); }

// Names and descriptions come from version 4 on, which is not bound.
const wl_output_listener outputListener{onGeometry, onMode, onDone, onScale, nullptr, nullptr};

void onPing(void*, xdg_wm_base* wmBase, std::uint32_t serial) { xdg_wm_base_pong(wmBase, serial); }

const xdg_wm_base_listener wmBaseListener{onPing};

}  // namespace

bool Globals::bind(wl_display* display) {
    registry.reset(wl_display_get_registry(display));
    static const wl_registry_listener listener{onGlobal, onGlobalRemove};
    wl_registry_add_listener(registry.get(), &listener, this);
    // The first round trip brings the globals, the second what the outputs say.
    return wl_display_roundtrip(display) >= 0 && wl_display_roundtrip(display) >= 0;
}

void Globals::onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version) {
    auto* globals = static_cast<Globals*>(data);
    const auto is = [interface](const wl_interface& known) { return std::strcmp(interface, known.name) == 0; };
    if (is(wl_compositor_interface)) {
        globals->compositor = bindAt<wl_compositor>(registry, name, wl_compositor_interface, version, compositorVersion);
    } else if (is(wl_shm_interface)) {
        globals->shm = bindAt<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (is(wl_seat_interface) && globals->seat == nullptr) {
        // The first seat: a desktop clock follows one pointer and one keyboard.
        globals->seat = bindAt<wl_seat>(registry, name, wl_seat_interface, version, seatVersion);
        static const wl_seat_listener seatListener{onSeatCapabilities, [](void*, wl_seat*, const char*) {}};
        wl_seat_add_listener(globals->seat.get(), &seatListener, globals);
    } else if (is(xdg_wm_base_interface)) {
        // Version 2 tells a tiled window so, whose size the compositor holds.
        globals->wmBase = bindAt<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 2);
        xdg_wm_base_add_listener(globals->wmBase.get(), &wmBaseListener, nullptr);
    } else if (is(zxdg_decoration_manager_v1_interface)) {
        globals->decorations = bindAt<zxdg_decoration_manager_v1>(registry, name, zxdg_decoration_manager_v1_interface,
                                                                  version, 1);
    } else if (is(wp_viewporter_interface)) {
        globals->viewporter = bindAt<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface)) {
        globals->fractionalScale = bindAt<wp_fractional_scale_manager_v1>(
            registry, name, wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (is(zwlr_layer_shell_v1_interface)) {
        globals->layerShell =
            bindAt<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, layerShellWanted);
        globals->layerShellVersion = std::min(version, layerShellWanted);
    } else if (is(wl_output_interface)) {
        auto output = std::make_unique<Output>();
        output->name = name;
        output->handle = bindAt<wl_output>(registry, name, wl_output_interface, version, outputVersion);
        wl_output_add_listener(output->handle.get(), &outputListener, output.get());
        globals->outputs.push_back(std::move(output));
    }
}

void Globals::onGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* globals = static_cast<Globals*>(data);
    std::erase_if(globals->outputs, [name](const std::unique_ptr<Output>& output) { return output->name == name; });
}

void Globals::onSeatCapabilities(void* data, wl_seat* seat, std::uint32_t capabilities) {
    auto* globals = static_cast<Globals*>(data);
    globals->seatCapabilities = capabilities;
    if (globals->seatChanged != nullptr) {
        globals->seatChanged(globals->seatChangedData, seat, capabilities);
    }
}

Output* Globals::output(const wl_output* handle) const {
    for (const std::unique_ptr<Output>& output : outputs) {
        if (output->handle.get() == handle) {
            return output.get();
        }
    }
    return nullptr;
}

std::int32_t Globals::largestScale() const {
    std::int32_t scale = 1;
    for (const std::unique_ptr<Output>& output : outputs) {
        scale = std::max(scale, output->scale);
    }
    return scale;
}

}  // namespace shell
