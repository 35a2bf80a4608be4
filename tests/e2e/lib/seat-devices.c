/* Gives a headless wlroots compositor's seat a pointer and a keyboard. A seat
 * without input devices offers its clients no wl_pointer, so the compositor's
 * own pointer commands (`swaymsg seat - cursor press button3`) reach nobody,
 * and no wl_keyboard: a client asks for one only when a typing tool's virtual
 * keyboard appears, too late for the tool's first keys. This program adds a
 * virtual pointer (zwlr_virtual_pointer_manager_v1) and a virtual keyboard with
 * the default keymap (zwp_virtual_keyboard_manager_v1) and keeps them until it
 * is ended by a signal, when the compositor, seeing the connection close,
 * removes them; it prints "ready" once the compositor has them.
 *
 * The protocols' interfaces are declared here by hand, since no package ships
 * the descriptions of both: requests in the protocols' order, as the wire
 * carries them; the devices are only created, and the keyboard given its
 * keymap. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "wayland-globals.h"
#include <xkbcommon/xkbcommon.h>

static const struct wl_interface *no_types[8];

static const struct wl_message pointer_requests[] = {
  {"motion", "uff", no_types},
  {"motion_absolute", "uuuuu", no_types},
  {"button", "uuu", no_types},
  {"axis", "uuf", no_types},
  {"frame", "", no_types},
  {"axis_source", "u", no_types},
  {"axis_stop", "uu", no_types},
  {"axis_discrete", "uufi", no_types},
  {"destroy", "", no_types},
};
static const struct wl_interface pointer_interface = {
  "zwlr_virtual_pointer_v1", 1, 9, pointer_requests, 0, NULL,
};

static const struct wl_interface *create_types[] = {&wl_seat_interface, &pointer_interface};
static const struct wl_message manager_requests[] = {
  {"create_virtual_pointer", "?on", create_types},
  {"destroy", "", no_types},
};
static const struct wl_interface manager_interface = {
  "zwlr_virtual_pointer_manager_v1", 1, 2, manager_requests, 0, NULL,
};

static const struct wl_message keyboard_requests[] = {
  {"keymap", "uhu", no_types},
  {"key", "uuu", no_types},
  {"modifiers", "uuuu", no_types},
  {"destroy", "", no_types},
};
static const struct wl_interface keyboard_interface = {
  "zwp_virtual_keyboard_v1", 1, 4, keyboard_requests, 0, NULL,
};

static const struct wl_interface *create_keyboard_types[] = {&wl_seat_interface, &keyboard_interface};
static const struct wl_message keyboard_manager_requests[] = {
  {"create_virtual_keyboard", "on", create_keyboard_types},
};
static const struct wl_interface keyboard_manager_interface = {
  "zwp_virtual_keyboard_manager_v1", 1, 1, keyboard_manager_requests, 0, NULL,
};

static struct wl_seat *seat;
static struct wl_proxy *manager;
static struct wl_proxy *keyboard_manager;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version) {
  (void)data;
  (void)version;
  if (strcmp(interface, "wl_seat") == 0 && !seat)
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  else if (strcmp(interface, manager_interface.name) == 0)
    manager = wl_registry_bind(registry, name, &manager_interface, 1);
  else if (strcmp(interface, keyboard_manager_interface.name) == 0)
    keyboard_manager = wl_registry_bind(registry, name, &keyboard_manager_interface, 1);
}

/* The default keymap as text in a memory file; -1 when it cannot be made. */
static int default_keymap(uint32_t *size_bytes) {
  struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  struct xkb_keymap *keymap = context ? xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
  char *text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
  int descriptor = text ? memfd_create("keymap", MFD_CLOEXEC) : -1;
  if (descriptor >= 0) {
    *size_bytes = (uint32_t)strlen(text) + 1;
    if (write(descriptor, text, *size_bytes) != (ssize_t)*size_bytes) {
      close(descriptor);
      descriptor = -1;
    }
  }
  free(text);
  xkb_keymap_unref(keymap);
  xkb_context_unref(context);
  return descriptor;
}

int main(void) {
  struct wl_display *display = connect_listing_globals("seat-devices", global);
  if (!display)
    return 1;
  if (!seat || !manager || !keyboard_manager) {
    fprintf(stderr, "seat-devices: the compositor offers no %s\n",
            !seat ? "seat" : !manager ? manager_interface.name : keyboard_manager_interface.name);
    return 1;
  }
  wl_proxy_marshal_constructor(manager, 0, &pointer_interface, seat, NULL);
  uint32_t keymap_bytes = 0;
  int keymap = default_keymap(&keymap_bytes);
  if (keymap < 0) {
    fprintf(stderr, "seat-devices: no default keymap\n");
    return 1;
  }
  struct wl_proxy *keyboard = wl_proxy_marshal_constructor(keyboard_manager, 0, &keyboard_interface, seat, NULL);
  wl_proxy_marshal(keyboard, 0, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, keymap, keymap_bytes);
  close(keymap);
  if (wl_display_roundtrip(display) < 0) {
    fprintf(stderr, "seat-devices: the compositor refused the devices\n");
    return 1;
  }
  printf("ready\n");
  fflush(stdout);

  while (wl_display_dispatch(display) >= 0) {
  }
  return 0;
}
