#include "app/wayland/MessageToplevel.h"

namespace shell {

MessageToplevel::MessageToplevel(const Globals& globals, libdecor* decorContext, xdg_toplevel* parent,
                                 libdecor_frame* parentFrame, std::string_view caption, std::string_view text,
                                 std::int32_t scale)
    : picture(caption, text, dpiForScale(scale)), buffers(globals.shm.get()), scale120(scale) {
    if (!picture.ready()) {
        return;
    }
    const MessageLayout& layout = picture.layout();
    scaling = surfaceScaling({layout.widthPx, layout.heightPx}, scale120, globals.viewporter != nullptr);
    surface.reset(wl_compositor_create_surface(globals.compositor.get()));
    if (scaling.viewport) {
        viewport.reset(wp_viewporter_get_viewport(globals.viewporter.get(), surface.get()));
        wp_viewport_set_destination(viewport.get(), scaling.logical.width, scaling.logical.height);
    }
    wl_surface_set_buffer_scale(surface.get(), scaling.bufferScale);
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
        frame.reset(libdecor_decorate(decorContext, surface.get(), &frameInterface, this));
        if (!frame) {
            // libdecor has failed before: the message goes to standard error.
            viewport.reset();
            surface.reset();
            return;
        }
        libdecor_frame_set_title(frame.get(), title.c_str());
        libdecor_frame_set_app_id(frame.get(), applicationId);
        if (parentFrame != nullptr) {
            libdecor_frame_set_parent(frame.get(), parentFrame);
        }
        libdecor_frame_set_min_content_size(frame.get(), scaling.logical.width, scaling.logical.height);
        libdecor_frame_set_max_content_size(frame.get(), scaling.logical.width, scaling.logical.height);
        libdecor_frame_map(frame.get());
        return;
    }
    xdgSurface.reset(xdg_wm_base_get_xdg_surface(globals.wmBase.get(), surface.get()));
    static const xdg_surface_listener surfaceListener{[](void* data, xdg_surface* self, std::uint32_t serial) {
        xdg_surface_ack_configure(self, serial);
        auto* message = static_cast<MessageToplevel*>(data);
        message->configured = true;
        message->paint();
    }};
    xdg_surface_add_listener(xdgSurface.get(), &surfaceListener, this);
    toplevel.reset(xdg_surface_get_toplevel(xdgSurface.get()));
    static const xdg_toplevel_listener toplevelListener{
        [](void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*) {},
        [](void* data, xdg_toplevel*) { static_cast<MessageToplevel*>(data)->closeRequested = true; },
        [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
        [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(toplevel.get(), &toplevelListener, this);
    xdg_toplevel_set_title(toplevel.get(), title.c_str());
    xdg_toplevel_set_app_id(toplevel.get(), applicationId);
    if (parent != nullptr) {
        xdg_toplevel_set_parent(toplevel.get(), parent);
    }
    // Its size is the text's: the compositor is asked to keep it.
    xdg_toplevel_set_min_size(toplevel.get(), scaling.logical.width, scaling.logical.height);
    xdg_toplevel_set_max_size(toplevel.get(), scaling.logical.width, scaling.logical.height);
    if (globals.decorations) {
        decoration.reset(zxdg_decoration_manager_v1_get_toplevel_decoration(globals.decorations.get(), toplevel.get()));
        zxdg_toplevel_decoration_v1_set_mode(decoration.get(), ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
    }
    // The first commit has no buffer: the compositor answers with a configure.
    wl_surface_commit(surface.get());
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
    buffers.showWhole(surface.get(), {layout.widthPx, layout.heightPx},
                      [this](PaintTarget& target, const PixelRect& area) { picture.paint(target, area); });
}

}  // namespace shell
