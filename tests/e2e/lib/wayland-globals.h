/* What the Wayland helpers of the checks share: a connection to the
 * compositor whose globals are handed, once, to the helper's own handler. */
#include <stdio.h>
#include <wayland-client.h>

typedef void (*global_handler)(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                               uint32_t version);

static void ignore_global_remove(void *data, struct wl_registry *registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

/* Connects to the compositor and hands each of its globals to global; NULL,
 * said on standard error under the program's name, when none answers. */
static struct wl_display *connect_listing_globals(const char *program, global_handler global) {
  static struct wl_registry_listener listener;
  listener.global = global;
  listener.global_remove = ignore_global_remove;
  struct wl_display *display = wl_display_connect(NULL);
  if (!display) {
    fprintf(stderr, "%s: no Wayland compositor answers\n", program);
    return NULL;
  }
  wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
  wl_display_roundtrip(display);
  return display;
}
