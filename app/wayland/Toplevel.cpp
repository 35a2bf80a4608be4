#include "app/wayland/Toplevel.h"

namespace shell {

namespace {

// Whether the xdg-shell states hold the window's size: maximised, full screen
// or a tile.
bool holdsSize(const wl_array* states) {
    const auto* state = static_cast<const std::uint32_t*>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        if (state[i] == XDG_TOPLEVEL_STATE_MAXIMIZED || state[i] == XDG_TOPLEVEL_STATE_FULLSCREEN ||
            (state[i] >= XDG_TOPLEVEL_STATE_TILED_LEFT && state[i] <= XDG_TOPLEVEL_STATE_TILED_BOTTOM)) {
            return true;
        }
    }
    return false;
}

// The same for libdecor's states.
bool holdsSize(libdecor_configuration* configuration) {
    libdecor_window_state state = LIBDECOR_WINDOW_STATE_NONE;
    return libdecor_configuration_get_window_state(configuration, &state) &&
           (state & (LIBDECOR_WINDOW_STATE_MAXIMIZED | LIBDECOR_WINDOW_STATE_FULLSCREEN |
                     LIBDECOR_WINDOW_STATE_TILED_LEFT | LIBDECOR_WINDOW_STATE_TILED_RIGHT |
                     LIBDECOR_WINDOW_STATE_TILED_TOP | LIBDECOR_WINDOW_STATE_TILED_BOTTOM)) != 0;
}

// Tells libdecor the size of the window's content, logical pixels, answering
// the configuration when there is one.
void commitFrame(libdecor_frame* frame, PixelSize logical, libdecor_configuration* configuration) {
    libdecor_state* state = libdecor_state_new(logical.width, logical.height);
    libdecor_frame_commit(frame, state, configuration);
    libdecor_state_free(state);
}

}  // namespace

Toplevel::Toplevel(const Globals& globals, libdecor* frames, wl_surface* shown, const Toplevel* parent,
                   const std::string& title, Owner& listener)
    : owner(listener), surface(shown) {
    if (frames != nullptr) {
        makeFramed(frames);
        if (!frame) {
            return;
        }
        libdecor_frame_set_app_id(frame.get(), applicationId);
        if (parent != nullptr && parent->frame) {
            libdecor_frame_set_parent(frame.get(), parent->frame.get());
        }
    } else {
        makeXdgToplevel(globals);
        xdg_toplevel_set_app_id(toplevel.get(), applicationId);
        if (parent != nullptr && parent->toplevel) {
            xdg_toplevel_set_parent(toplevel.get(), parent->toplevel.get());
        }
    }
    setTitle(title);
}

void Toplevel::makeXdgToplevel(const Globals& globals) {
    xdgSurface.reset(xdg_wm_base_get_xdg_surface(globals.wmBase.get(), surface));
    static const xdg_surface_listener surfaceListener{[](void* data, xdg_surface* self, std::uint32_t serial) {
        xdg_surface_ack_configure(self, serial);
        auto* window = static_cast<Toplevel*>(data);
        window->owner.configure(window->pendingLogical, window->pendingImposed);
        window->owner.configured();
    }};
    xdg_surface_add_listener(xdgSurface.get(), &surfaceListener, this);
    toplevel.reset(xdg_surface_get_toplevel(xdgSurface.get()));
    static const xdg_toplevel_listener toplevelListener{
        [](void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array* states) {
            auto* window = static_cast<Toplevel*>(data);
            window->pendingLogical = {width, height};
            window->pendingImposed = holdsSize(states);
        },
        [](void* data, xdg_toplevel*) { static_cast<Toplevel*>(data)->owner.closeAsked(); },
        [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
        [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(toplevel.get(), &toplevelListener, this);
    if (globals.decorations) {
        decoration.reset(zxdg_decoration_manager_v1_get_toplevel_decoration(globals.decorations.get(), toplevel.get()));
        zxdg_toplevel_decoration_v1_set_mode(decoration.get(), ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
    }
}

void Toplevel::makeFramed(libdecor* frames) {
    static libdecor_frame_interface frameInterface{
        [](libdecor_frame* self, libdecor_configuration* configuration, void* data) {
            auto* window = static_cast<Toplevel*>(data);
            int width = 0;
            int height = 0;
            if (!libdecor_configuration_get_content_size(configuration, self, &width, &height)) {
                width = 0;
                height = 0;
            }
            const PixelSize taken = window->owner.configure({width, height}, holdsSize(configuration));
            commitFrame(self, taken, configuration);
            window->owner.configured();
        },
        [](libdecor_frame*, void* data) { static_cast<Toplevel*>(data)->owner.closeAsked(); },
        [](libdecor_frame*, void* data) { static_cast<Toplevel*>(data)->owner.redraw(); },
        [](libdecor_frame*, const char*, void*) {},
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    frame.reset(libdecor_decorate(frames, surface, &frameInterface, this));
}

void Toplevel::setTitle(const std::string& title) {
    if (frame) {
        libdecor_frame_set_title(frame.get(), title.c_str());
    } else if (toplevel) {
        xdg_toplevel_set_title(toplevel.get(), title.c_str());
    }
}

void Toplevel::limitSize(PixelSize smallestLogical, PixelSize largestLogical) {
    if (frame) {
        libdecor_frame_set_min_content_size(frame.get(), smallestLogical.width, smallestLogical.height);
        libdecor_frame_set_max_content_size(frame.get(), largestLogical.width, largestLogical.height);
    } else if (toplevel) {
        xdg_toplevel_set_min_size(toplevel.get(), smallestLogical.width, smallestLogical.height);
        xdg_toplevel_set_max_size(toplevel.get(), largestLogical.width, largestLogical.height);
    }
}

void Toplevel::map() {
    if (frame) {
        libdecor_frame_map(frame.get());
    } else {
        // The first commit has no buffer: the compositor answers with a configure.
        wl_surface_commit(surface);
    }
}

void Toplevel::sizeChosen(PixelSize logical) {
    if (frame) {
        commitFrame(frame.get(), logical, nullptr);
    }
}

xdg_surface* Toplevel::popupParent() const {
    return frame ? libdecor_frame_get_xdg_surface(frame.get()) : xdgSurface.get();
}

PixelPoint Toplevel::popupPoint(PixelPoint atLogical) const {
    PixelPoint at = atLogical;
    if (frame) {
        libdecor_frame_translate_coordinate(frame.get(), atLogical.x, atLogical.y, &at.x, &at.y);
    }
    return at;
}

}  // namespace shell
