# Shared by the Wayland tests and measurements: headless compositors (sway,
# weston) and the programs that run under them, as an ordinary user. sway
# refuses to run as root, so a test run as root creates the user
# $wayland_user_name once and runs the compositor and the clock as that user;
# run as anyone else, it runs them as itself. The sourcing script sets work (a
# temporary folder) first; wayland_prepare makes it the user's, so everything
# the clock must read is copied into it.
#   wayland_prepare           the user and the folders: $work/runtime (the
#                             compositor's XDG_RUNTIME_DIR, mode 700) and $work/home
#   as_wayland_user CMD...    runs CMD as that user in the environment of the
#                             compositor started last, replacing the shell (exec)
#   start_sway SCALE [W H]    headless sway, output W x H pixels (default 1280 x
#                             1024) at an integer SCALE; sets compositor and
#                             WAYLAND_DISPLAY, SWAYSOCK for the tools run here
#   start_weston [W H]        headless weston drawing with pixman
#   add_seat_devices          gives sway's seat a pointer and a keyboard, which
#                             a headless seat lacks (tests/e2e/lib/seat-devices.c)
#   stop_compositor           ends the compositor started last
# Only processes started here are ever ended, by their process ids.
wayland_user_name=${HORAVEL_E2E_USER:-horavel-e2e}
compositor=
compositor_log=
seat_devices=

wayland_prepare() {
  mkdir -p "$work/runtime" "$work/home"
  chmod 700 "$work/runtime"
  if [ "$(id -u)" -eq 0 ]; then
    id -u "$wayland_user_name" >/dev/null 2>&1 ||
      useradd --system --no-create-home --home-dir /nonexistent -s /usr/sbin/nologin "$wayland_user_name" ||
      { echo "  the user $wayland_user_name could not be created"; return 1; }
    chown -R "$wayland_user_name:" "$work"
    chmod 755 "$work"
  fi
}

# The environment every program under the compositor gets: only what it needs,
# and no X display, so that nothing falls back to X11 unnoticed.
wayland_env() {
  echo "HOME=$work/home"
  echo "XDG_RUNTIME_DIR=$work/runtime"
  echo "PATH=/usr/local/bin:/usr/bin:/bin"
  [ -n "${WAYLAND_DISPLAY:-}" ] && echo "WAYLAND_DISPLAY=$WAYLAND_DISPLAY"
  [ -n "${SWAYSOCK:-}" ] && echo "SWAYSOCK=$SWAYSOCK"
}

as_wayland_user() {
  local environment=()
  mapfile -t environment < <(wayland_env)
  if [ "$(id -u)" -eq 0 ]; then
    # setpriv replaces itself with the command, so the process id the caller
    # knows is the command's own and signals reach it directly.
    exec setpriv --reuid="$wayland_user_name" --regid="$wayland_user_name" --init-groups \
      env -i "${environment[@]}" "$@"
  fi
  exec env -i "${environment[@]}" "$@"
}

# Waits up to 20 s for a Wayland socket in the runtime folder; sets
# WAYLAND_DISPLAY to its name.
wait_for_socket() {
  local socket
  for _ in $(seq 200); do
    for socket in "$work"/runtime/wayland-*; do
      if [ -S "$socket" ] && kill -0 "$compositor" 2>/dev/null; then
        WAYLAND_DISPLAY=$(basename "$socket")
        return 0
      fi
    done
    kill -0 "$compositor" 2>/dev/null || break
    sleep 0.1
  done
  echo "  the compositor opened no Wayland socket; its log ends:"
  tail -n 5 "$compositor_log" | sed 's/^/    /'
  return 1
}

start_sway() {  # SCALE [WIDTH HEIGHT]
  local config="$work/sway.config"
  compositor_log="$work/sway.log"
  # No bar, no borders, every window floating at the size it asks for, and
  # the keyboard focus on a window as soon as it maps.
  cat >"$config" <<EOF
output HEADLESS-1 mode ${2:-1280}x${3:-1024} position 0 0 scale $1
output HEADLESS-1 background #203040 solid_color
default_border none
default_floating_border none
focus_on_window_activation focus
for_window [app_id=".*"] floating enable
EOF
  [ "$(id -u)" -eq 0 ] && chown "$wayland_user_name:" "$config"
  unset WAYLAND_DISPLAY SWAYSOCK
  ( as_wayland_user WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
      sway -c "$config" ) >"$compositor_log" 2>&1 &
  compositor=$!
  wait_for_socket || return 1
  local socket
  for _ in $(seq 100); do
    for socket in "$work"/runtime/sway-ipc.*.sock; do
      if [ -S "$socket" ] && SWAYSOCK=$socket swaymsg -t get_version >/dev/null 2>&1; then
        export SWAYSOCK=$socket WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "  sway answers on no IPC socket"
  return 1
}

start_weston() {  # [WIDTH HEIGHT]
  local config="$work/weston.ini"
  compositor_log="$work/weston.log"
  # A plain background without a panel (whose clock would change the
  # screenshots), and windows that appear without animation.
  cat >"$config" <<EOF
[shell]
panel-position=none
background-color=0xff203040
animation=none
close-animation=none
startup-animation=none
focus-animation=none
locking=false
EOF
  [ "$(id -u)" -eq 0 ] && chown "$wayland_user_name:" "$config"
  unset WAYLAND_DISPLAY SWAYSOCK
  # --debug lets any client take screenshots through weston_screenshooter.
  ( as_wayland_user weston --backend=headless-backend.so --use-pixman --debug --config="$config" \
      --socket=wayland-weston --idle-time=0 --width="${1:-1024}" --height="${2:-768}" ) >"$compositor_log" 2>&1 &
  compositor=$!
  wait_for_socket || return 1
  export WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime"
}

add_seat_devices() {
  if [ ! -x "$work/seat-devices" ]; then
    cc -o "$work/seat-devices" "$(dirname "${BASH_SOURCE[0]}")/seat-devices.c" -lwayland-client -lxkbcommon ||
      { echo "  the seat's devices do not build (libwayland-dev, libxkbcommon-dev)"; return 1; }
  fi
  "$work/seat-devices" >"$work/seat-devices.out" 2>&1 &
  seat_devices=$!
  for _ in $(seq 50); do
    [ "$(cat "$work/seat-devices.out")" = ready ] && return 0
    sleep 0.1
  done
  echo "  the seat got no devices: $(cat "$work/seat-devices.out")"
  return 1
}

stop_compositor() {
  if [ -n "$seat_devices" ]; then
    kill "$seat_devices" 2>/dev/null
    wait "$seat_devices" 2>/dev/null || true
  fi
  seat_devices=
  if [ -n "$compositor" ]; then
    kill "$compositor" 2>/dev/null
    wait "$compositor" 2>/dev/null || true
  fi
  compositor=
  rm -f "$work"/runtime/wayland-* "$work"/runtime/sway-ipc.*
  unset WAYLAND_DISPLAY SWAYSOCK
}
