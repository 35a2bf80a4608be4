# The X11 tests run the clock on X even on a desktop that is a Wayland session.
# The clock takes a Wayland compositor when one answers, through
# WAYLAND_DISPLAY or the default socket in XDG_RUNTIME_DIR, so both are taken
# away: the runtime folder becomes an empty one of the test's own.
keep_to_x11() {  # FOLDER
  unset WAYLAND_DISPLAY WAYLAND_SOCKET
  mkdir -p "$1" && chmod 700 "$1"
  export XDG_RUNTIME_DIR=$1
}
