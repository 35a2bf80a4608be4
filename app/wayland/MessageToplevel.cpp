#include "app/wayland/MessageToplevel.h"

namespace shell {

MessageToplevel::MessageToplevel(const Globals& globals, libdecor* decorContext, xdg_toplevel* parent,
                                 libdecor_frame* parentFrame, std::string_view caption, std::string_view text,
                                 std::int32_t scale)
    : picture(caption, text, dpiForScale(scale)), buffers(globals.shm), scale120(scale) {
    if (!picture.ready()) {
        return;
    }
    const MessageLayout& layout = picture.layout();
    scaling = surfaceScaling({layout.widthPx, layout.heightPx}, scale120, globals.viewporter != nullptr);
    surface = wl_compositor_create_surface(globals.compositor);
    if (scaling.viewport) {
        viewport = wp_viewporter_get_viewport(globals.viewporter, surface);
        wp_viewport_set_destination(viewport, scaling.logical.width, scaling.logical.height);
    }
    wl_surface_set_buffer_scale(surface, scaling.bufferScale);
    const std::string title = picture.caption();
    if (decorContext != nullptr) {
        static libdecor_frame_interface frameInterface{
            [](libdecor_frame* self, libdecor_configuration* configuration, void* data) {
                auto* message = static_cast<MessageToplevel*>(data);
                libdecor_state* state =
                    libdecor_state_new(message->scaling.logical.width, message->scaling.logical.height);
                libdecor_frame_commit(self, state, configuration);
                libdecor_state_free(state);
                message->configured = true;
                message->paint();
            },
            [](libdecor_frame*, void* data) { static_cast<MessageToplevel*>(data)->closeRequested = true; },
            [](libdecor_frame*, void* data) { static_cast<MessageToplevel*>(data)->paint(); },
            [](libdecor_frame*, const char*, void*) {},
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        frame = libdecor_decorate(decorContext, surface, &frameInterface, this);
        if (frame == nullptr) {
            // libdecor has failed before: the message goes to standard error.
            if (viewport != nullptr) {
                wp_viewport_destroy(viewport);
                viewport = nullptr;
            }
            wl_surface_destroy(surface);
            surface = nullptr;
            return;
        }
        libdecor_frame_set_title(frame, title.c_str());
        libdecor_frame_set_app_id(frame, applicationId);
        if (parentFrame != nullptr) {
            libdecor_frame_set_parent(frame, parentFrame);
        }
        libdecor_frame_set_min_content_size(frame, scaling.logical.width, scaling.logical.height);
        libdecor_frame_set_max_content_size(frame, scaling.logical.width, scaling.logical.height);
        libdecor_frame_map(frame);
        return;
    }
    xdgSurface = xdg_wm_base_get_xdg_surface(globals.wmBase, surface);
    static const xdg_surface_listener surfaceListener{[](void* data, xdg_surface* self, std::uint32_t serial) {
        xdg_surface_ack_configure(self, serial);
        auto* message = static_cast<MessageToplevel*>(data);
        message->configured = true;
        message->paint();
    }};
    xdg_surface_add_listener(xdgSurface, &surfaceListener, this);
    toplevel = xdg_surface_get_toplevel(xdgSurface);
    static const xdg_toplevel_listener toplevelListener{
        [](void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*) {},
        [](void* data, xdg_toplevel*) { static_cast<MessageToplevel*>(data)->closeRequested = true; },
        [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
        [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(toplevel, &toplevelListener, this);
    xdg_toplevel_set_title(toplevel, title.c_str());
    xdg_toplevel_set_app_id(toplevel, applicationId);
    if (parent != nullptr) {
        xdg_toplevel_set_parent(toplevel, parent);
    }
    // Its size is the text's: the compositor is asked to keep it.
    xdg_toplevel_set_min_size(toplevel, scaling.logical.width, scaling.logical.height);
    xdg_toplevel_set_max_size(toplevel, scaling.logical.width, scaling.logical.height);
    if (globals.decorations != nullptr) {
        decoration = zxdg_decoration_manager_v1_get_toplevel_decoration(globals.decorations, toplevel);
        zxdg_toplevel_decoration_v1_set_mode(decoration, ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
    }
    // The first commit has no buffer: the compositor answers with a configure.
    wl_surface_commit(surface);
}

MessageToplevel::~MessageToplevel() {
    if (frame != nullptr) {
        libdecor_frame_unref(frame);
    }
    if (decoration != nullptr) {
        zxdg_toplevel_decoration_v1_destroy(decoration);
    }
    if (toplevel != nullptr) {
        xdg_toplevel_destroy(toplevel);
    }
    if (xdgSurface != nullptr) {
        xdg_surface_destroy(xdgSurface);
    }
    if (viewport != nullptr) {
        wp_viewport_destroy(viewport);
    }
    if (surface != nullptr) {
        wl_surface_destroy(surface);
    }
}

bool MessageToplevel::clicked(PixelPoint atLogical) const {
    const PixelSize at = bufferSize({atLogical.x, atLogical.y}, scale120);
    return picture.onButton(at.width, at.height);
}

void MessageToplevel::paint() {
    if (!configured) {
        return;
    }
    const MessageLayout& layout = picture.layout();
    buffers.showWhole(surface, {layout.widthPx, layout.heightPx},
                      [this](PaintTarget& target, const PixelRect& area) { picture.paint(target, area); });
}

}  // namespace shell
