#include "app/wayland/Owned.h"

#include "app/wayland/LayerShellProtocol.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <libdecor.h>
#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

namespace shell {

void release(libdecor* object) { libdecor_unref(object); }
void release(libdecor_frame* object) { libdecor_frame_unref(object); }
void release(wl_buffer* object) { wl_buffer_destroy(object); }
void release(wl_callback* object) { wl_callback_destroy(object); }
void release(wl_compositor* object) { wl_compositor_destroy(object); }
void release(wl_cursor_theme* object) { wl_cursor_theme_destroy(object); }
void release(wl_display* object) { wl_display_disconnect(object); }
void release(wl_keyboard* object) { wl_keyboard_release(object); }
void release(wl_output* object) { wl_output_destroy(object); }
void release(wl_pointer* object) { wl_pointer_release(object); }
void release(wl_registry* object) { wl_registry_destroy(object); }
void release(wl_seat* object) { wl_seat_destroy(object); }
void release(wl_shm* object) { wl_shm_destroy(object); }
void release(wl_shm_pool* object) { wl_shm_pool_destroy(object); }
void release(wl_surface* object) { wl_surface_destroy(object); }
void release(wp_fractional_scale_manager_v1* object) { wp_fractional_scale_manager_v1_destroy(object); }
void release(wp_fractional_scale_v1* object) { wp_fractional_scale_v1_destroy(object); }
void release(wp_viewport* object) { wp_viewport_destroy(object); }
void release(wp_viewporter* object) { wp_viewporter_destroy(object); }
void release(xdg_popup* object) { xdg_popup_destroy(object); }
void release(xdg_positioner* object) { xdg_positioner_destroy(object); }
void release(xdg_surface* object) { xdg_surface_destroy(object); }
void release(xdg_toplevel* object) { xdg_toplevel_destroy(object); }
void release(xdg_wm_base* object) { xdg_wm_base_destroy(object); }
void release(xkb_context* object) { xkb_context_unref(object); }
void release(xkb_keymap* object) { xkb_keymap_unref(object); }
void release(xkb_state* object) { xkb_state_unref(object); }
void release(zwlr_layer_shell_v1* object) { zwlr_layer_shell_v1_destroy(object); }
void release(zwlr_layer_surface_v1* object) { zwlr_layer_surface_v1_destroy(object); }
void release(zxdg_decoration_manager_v1* object) { zxdg_decoration_manager_v1_destroy(object); }
void release(zxdg_toplevel_decoration_v1* object) { zxdg_toplevel_decoration_v1_destroy(object); }

}  // namespace shell
