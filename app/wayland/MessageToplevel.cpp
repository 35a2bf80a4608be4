#include "app/wayland/MessageToplevel.h"

namespace shell {

MessageToplevel::MessageToplevel(const Globals& globals, libdecor* decorContext, xdg_toplevel* parent,
                                 libdecor_frame* parentFrame, std::string_view caption, std::string_view text,
                                 std::int32_t scale120)
    : picture(caption, text, dpiForScale(scale120)) {
    if (!picture.ready()) {
        return;
    }
    const MessageLayout& layout = picture.layout();
    surface = std::make_unique<PictureSurface>(
        globals, PixelSize{layout.widthPx, layout.heightPx}, scale120,
        [this](PaintTarget& target, const PixelRect& area) { picture.paint(target, area); });
    const PixelSize size = surface->logicalSize();
    const std::string title = picture.caption();
    if (decorContext != nullptr) {
        static libdecor_frame_interface frameInterface{
            [](libdecor_frame* self, libdecor_configuration* configuration, void* data) {
                auto* message = static_cast<MessageToplevel*>(data);
                const PixelSize logical = message->surface->logicalSize();
                libdecor_state* state = libdecor_state_new(logical.width, logical.height);
                libdecor_frame_commit(self, state, configuration);
                libdecor_state_free(state);
                message->surface->configured();
            },
            [](libdecor_frame*, void* data) { static_cast<MessageToplevel*>(data)->closeRequested = true; },
            [](libdecor_frame*, void* data) { static_cast<MessageToplevel*>(data)->surface->show(); },
            [](libdecor_frame*, const char*, void*) {},
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        frame.reset(libdecor_decorate(decorContext, surface->handle(), &frameInterface, this));
        if (!frame) {
            // libdecor has failed before: the message goes to standard error.
            return;
        }
        libdecor_frame_set_title(frame.get(), title.c_str());
        libdecor_frame_set_app_id(frame.get(), applicationId);
        if (parentFrame != nullptr) {
            libdecor_frame_set_parent(frame.get(), parentFrame);
        }
        libdecor_frame_set_min_content_size(frame.get(), size.width, size.height);
        libdecor_frame_set_max_content_size(frame.get(), size.width, size.height);
        libdecor_frame_map(frame.get());
        return;
    }
    toplevel.reset(xdg_surface_get_toplevel(surface->makeXdgSurface(globals.wmBase.get())));
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
    xdg_toplevel_set_min_size(toplevel.get(), size.width, size.height);
    xdg_toplevel_set_max_size(toplevel.get(), size.width, size.height);
    if (globals.decorations) {
        decoration.reset(zxdg_decoration_manager_v1_get_toplevel_decoration(globals.decorations.get(), toplevel.get()));
        zxdg_toplevel_decoration_v1_set_mode(decoration.get(), ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
    }
    // The first commit has no buffer: the compositor answers with a configure.
    wl_surface_commit(surface->handle());
}

bool MessageToplevel::clicked(PixelPoint atLogical) const {
    const PixelPoint at = surface->pictureAt(atLogical);
    return picture.onButton(at.x, at.y);
}

}  // namespace shell
