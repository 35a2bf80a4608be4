/* Types and points for the KWin checks, through KWin's fake input
 * (org_kde_kwin_fake_input), which a KWin started with
 * KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 offers to any client. Headless KWin has
 * no input devices, and a seat without them gives its clients no wl_keyboard
 * or wl_pointer; the fake input's device is one for as long as this program
 * stays connected, so it is started before the clock and kept to the end.
 *
 * It prints "ready" once KWin has the device, then reads one command a line
 * from standard input and prints "done" once KWin has it:
 *   key CODE...      presses and releases each key, Linux key codes
 *   hold CODE        presses a key and keeps it down (a modifier)
 *   free CODE        releases it
 *   point X Y        moves the pointer to (X, Y), logical pixels
 * It ends at the end of its input.
 *
 * The interface is declared here by hand, its requests in the protocol's order
 * as the wire carries them; only those used here are ever sent. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

#include "wayland-globals.h"

static const struct wl_interface *no_types[8];

static const struct wl_message fake_input_requests[] = {
  {"authenticate", "ss", no_types},
  {"pointer_motion", "ff", no_types},
  {"button", "uu", no_types},
  {"axis", "uf", no_types},
  {"touch_down", "2uff", no_types},
  {"touch_motion", "2uff", no_types},
  {"touch_up", "2u", no_types},
  {"touch_cancel", "2", no_types},
  {"touch_frame", "2", no_types},
  {"pointer_motion_absolute", "3ff", no_types},
  {"keyboard_key", "4uu", no_types},
};
static const struct wl_interface fake_input_interface = {
  "org_kde_kwin_fake_input", 4, 11, fake_input_requests, 0, NULL,
};
enum { AUTHENTICATE = 0, MOTION_ABSOLUTE = 9, KEYBOARD_KEY = 10 };

static struct wl_proxy *fake_input;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version) {
  (void)data;
  if (strcmp(interface, fake_input_interface.name) == 0 && version >= 4)
    fake_input = wl_registry_bind(registry, name, &fake_input_interface, 4);
}

int main(void) {
  struct wl_display *display = connect_listing_globals("kwin-input", global);
  if (!display)
    return 1;
  if (!fake_input) {
    fprintf(stderr, "kwin-input: the compositor offers no %s (version 4)\n", fake_input_interface.name);
    return 1;
  }
  wl_proxy_marshal(fake_input, AUTHENTICATE, "Horavel checks", "end-to-end checks of the clock");
  if (wl_display_roundtrip(display) < 0) {
    fprintf(stderr, "kwin-input: the compositor refused the fake input\n");
    return 1;
  }
  printf("ready\n");
  fflush(stdout);

  char line[256];
  while (fgets(line, sizeof line, stdin)) {
    char *word = strtok(line, " \n");
    char *argument = strtok(NULL, " \n");
    if (!word) continue;
    if (strcmp(word, "key") == 0) {
      for (; argument; argument = strtok(NULL, " \n")) {
        wl_proxy_marshal(fake_input, KEYBOARD_KEY, (uint32_t)atoi(argument), WL_KEYBOARD_KEY_STATE_PRESSED);
        wl_proxy_marshal(fake_input, KEYBOARD_KEY, (uint32_t)atoi(argument), WL_KEYBOARD_KEY_STATE_RELEASED);
        wl_display_roundtrip(display);
      }
    } else if (strcmp(word, "hold") == 0 && argument) {
      wl_proxy_marshal(fake_input, KEYBOARD_KEY, (uint32_t)atoi(argument), WL_KEYBOARD_KEY_STATE_PRESSED);
    } else if (strcmp(word, "free") == 0 && argument) {
      wl_proxy_marshal(fake_input, KEYBOARD_KEY, (uint32_t)atoi(argument), WL_KEYBOARD_KEY_STATE_RELEASED);
    } else if (strcmp(word, "point") == 0 && argument) {
      char *y = strtok(NULL, " \n");
      wl_proxy_marshal(fake_input, MOTION_ABSOLUTE, wl_fixed_from_int(atoi(argument)),
                       wl_fixed_from_int(y ? atoi(y) : 0));
    }
    if (wl_display_roundtrip(display) < 0) {
      fprintf(stderr, "kwin-input: the compositor closed the connection\n");
      return 1;
    }
    printf("done\n");
    fflush(stdout);
  }
  return 0;
}
