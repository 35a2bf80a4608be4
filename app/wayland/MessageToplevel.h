#pragma once

#include "app/MessagePicture.h"
#include "app/wayland/Globals.h"
#include "app/wayland/Keyboard.h"
#include "app/wayland/PictureSurface.h"
#include "app/wayland/Toplevel.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace shell {

// One of the clock's messages on a Wayland compositor: a toplevel window of
// its own with the clock's window as its parent, titled with the caption,
// showing the picture the clock draws at the clock's scale. Framed by the
// compositor where it offers that, else by libdecor as the clock is. The
// clock's loop hands it the keys and clicks that reach it; OK, Enter, Escape,
// space and the close button end it.
class MessageToplevel final : private Toplevel::Owner {
public:
    // The parent is the clock's window, or none (a clock on the desktop has no
    // window to be the parent); frames is the clock's libdecor context, null
    // where the compositor draws frames.
    MessageToplevel(const Globals& globals, libdecor* frames, const Toplevel* parent, std::string_view caption,
                    std::string_view text, std::int32_t scale120);

    bool isOpen() const { return window && window->made(); }
    wl_surface* handle() const { return surface ? surface->handle() : nullptr; }
    bool owns(const wl_surface* other) const { return surface && surface->owns(other); }
    // The compositor's close button was pressed.
    bool askedToClose() const { return closeRequested; }
    // A left click at the point (logical pixels of its surface): true when it
    // was on OK and ends the message.
    bool clicked(PixelPoint atLogical) const;
    // A key: true when it ends the message.
    static bool ends(const PressedKey& press) { return keyEndsMessage(press.symbol); }

private:
    // Its size is the text's, whatever the compositor proposes.
    PixelSize configure(PixelSize, bool) override { return surface->logicalSize(); }
    void configured() override { surface->configured(); }
    void closeAsked() override { closeRequested = true; }
    void redraw() override { surface->show(); }

    MessagePicture picture;
    std::unique_ptr<PictureSurface> surface;  // none when the picture could not be drawn
    std::unique_ptr<Toplevel> window;
    bool closeRequested = false;
};

}  // namespace shell
