#pragma once

#include <memory>

struct libdecor;
struct libdecor_frame;
struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_cursor_theme;
struct wl_display;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_shm_pool;
struct wl_surface;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewport;
struct wp_viewporter;
struct xdg_popup;
struct xdg_positioner;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct zxdg_decoration_manager_v1;
struct zxdg_toplevel_decoration_v1;

namespace shell {

// How the shell lets go of each kind of object it holds from the compositor,
// from libdecor, from the cursor theme library or from XKB, written once for
// each: the protocol's destructor request (release for the seat's devices), the
// library's unref, or the end of the connection.
void release(libdecor* object);
void release(libdecor_frame* object);
void release(wl_buffer* object);
void release(wl_callback* object);
void release(wl_compositor* object);
void release(wl_cursor_theme* object);
void release(wl_display* object);
void release(wl_keyboard* object);
void release(wl_output* object);
void release(wl_pointer* object);
void release(wl_registry* object);
void release(wl_seat* object);
void release(wl_shm* object);
void release(wl_shm_pool* object);
void release(wl_surface* object);
void release(wp_fractional_scale_manager_v1* object);
void release(wp_fractional_scale_v1* object);
void release(wp_viewport* object);
void release(wp_viewporter* object);
void release(xdg_popup* object);
void release(xdg_positioner* object);
void release(xdg_surface* object);
void release(xdg_toplevel* object);
void release(xdg_wm_base* object);
void release(xkb_context* object);
void release(xkb_keymap* object);
void release(xkb_state* object);
void release(zwlr_layer_shell_v1* object);
void release(zwlr_layer_surface_v1* object);
void release(zxdg_decoration_manager_v1* object);
void release(zxdg_toplevel_decoration_v1* object);

struct Release {
    template <typename Object>
    void operator()(Object* object) const {
        release(object);
    }
};

// An object the shell holds, let go once: when its holder goes or it is
// reset. Null for none.
template <typename Object>
using Owned = std::unique_ptr<Object, Release>;

}  // namespace shell
