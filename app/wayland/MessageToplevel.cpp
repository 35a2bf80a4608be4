#include "app/wayland/MessageToplevel.h"

namespace shell {

MessageToplevel::MessageToplevel(const Globals& globals, libdecor* frames, const Toplevel* parent,
                                 std::string_view caption, std::string_view text, std::int32_t scale120)
    : picture(caption, text, dpiForScale(scale120)), surface(PictureSurface::showing(picture, globals, scale120)) {
    if (!surface) {
        return;
    }
    Toplevel::Owner& owner = *this;
    window = std::make_unique<Toplevel>(globals, frames, surface->handle(), parent, picture.caption(), owner);
    if (!window->made()) {
        // libdecor has failed before: the message goes to standard error.
        return;
    }
    // Its size is the text's: the compositor is asked to keep it.
    window->limitSize(surface->logicalSize(), surface->logicalSize());
    window->map();
}

bool MessageToplevel::clicked(PixelPoint atLogical) const {
    const PixelPoint at = surface->pictureAt(atLogical);
    return picture.onButton(at.x, at.y);
}

}  // namespace shell
