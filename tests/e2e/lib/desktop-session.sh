# Shared by the GNOME Shell and KWin window checks: each desktop headless, as
# the compositor's user of wayland-session.sh, on message buses of its own,
# with a screenshot of the whole output, keys and a pointer the clock gets as
# from a desktop's own devices, and an end that leaves nothing running (the
# clock, the desktop and $work go when the check ends). Sourced after
# wayland-start.sh.
#   start_kwin SCALE       KWin 5.27 with one virtual output of 1280 x 800
#                          logical pixels at SCALE (1, 1.25, 1.5 ...)
#   start_gnome            GNOME Shell 43 with a virtual monitor of 1280 x 800,
#                          its overview closed and its notifications gone
#   stop_desktop           ends the desktop started last and its buses
#   desktop_shot PPM       the whole output in its own pixels, binary PPM
#   press_keys CODE...     presses and releases each key (Linux key codes)
#   hold_key / free_key CODE
#   point_at X Y           the pointer to (X, Y), logical pixels
#   open_menu_by_keys      Shift+F10, which opens the clock's menu
#   found_on_output, shows_snapshot_at_four_moments, draw_menu_pieces
#                          what the checks look for, below
#   gnome_eval CODE        GNOME Shell's answer to JavaScript, as JSON
# Only processes started here are ever ended, by their process ids.
desktop=
session_bus=
system_bus=
logind=
kwin_input_pid=
bus_address="unix:path=$work/runtime/bus"
system_bus_address="unix:path=$work/runtime/system-bus"

# Linux key codes the checks use.
key_escape=1
key_enter=28
key_shift=42
key_f10=68
key_down=108

# A program as the compositor's user, with the buses in its environment.
as_desktop_user() {
  as_wayland_user env DBUS_SESSION_BUS_ADDRESS="$bus_address" DBUS_SYSTEM_BUS_ADDRESS="$system_bus_address" "$@"
}

# A message bus of the user's at ADDRESS that lets everyone own and call
# everything and starts nothing on demand: a desktop's helpers (the
# accessibility bus, dconf, the calendar server) would otherwise start there
# and outlive it. Sets the variable named to the bus's process id, and
# returns once the bus answers.
start_bus() {  # ADDRESS VARIABLE
  local config="$work/${1##*/}.conf"
  cat >"$config" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>$1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
  ( as_wayland_user dbus-daemon --nofork --config-file="$config" ) >>"$work/bus.log" 2>&1 &
  printf -v "$2" %s $!
  for _ in $(seq 100); do
    if (as_wayland_user env DBUS_SESSION_BUS_ADDRESS="$1" gdbus call --session --dest org.freedesktop.DBus \
          --object-path /org/freedesktop/DBus --method org.freedesktop.DBus.GetId) >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  echo "  no message bus answers at $1"
  return 1
}

# Waits up to 60 s (a loaded machine starts a desktop slowly) for a command
# to succeed while the compositor runs.
while_desktop_starts() {
  for _ in $(seq 120); do
    kill -0 "$compositor" 2>/dev/null || break
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  echo "  the desktop did not come up; its log ends:"
  tail -n 5 "$compositor_log" | sed 's/^/    /'
  return 1
}

start_kwin() {  # SCALE
  desktop=kwin
  compositor_log="$work/kwin.log"
  # The packaged kwin_wayland carries a file capability, which an ordinary
  # user may not execute; a copy carries none.
  mkdir -p "$work/kwin"
  cp /usr/bin/kwin_wayland "$work/kwin/"
  [ "$(id -u)" -eq 0 ] && chown -R "$wayland_user_name:" "$work/kwin"
  unset WAYLAND_DISPLAY SWAYSOCK
  start_bus "$bus_address" session_bus || return 1
  # Without the permission checks KWin serves screenshots and fake input to
  # any client.
  ( as_desktop_user KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
      "$work/kwin/kwin_wayland" --virtual --width 1280 --height 800 --scale "$1" \
      --socket wayland-kwin --no-lockscreen ) >"$compositor_log" 2>&1 &
  compositor=$!
  wait_for_socket || return 1
  export WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime"
  while_desktop_starts desktop_shot "$work/first.ppm" || return 1
  start_kwin_input
}

# The fake input's client, kept running so that KWin's seat has a keyboard
# and a pointer from before the clock starts (tests/e2e/lib/kwin-input.c). It
# runs as the compositor's user: KWin offers the fake input only to processes
# whose program it can see, and it cannot see root's.
start_kwin_input() {
  if [ ! -x "$work/kwin-input" ]; then
    cc -o "$work/kwin-input" "$e2e_lib/kwin-input.c" -lwayland-client ||
      { echo "  the fake input client does not build (libwayland-dev)"; return 1; }
  fi
  coproc fake_input { as_wayland_user "$work/kwin-input" 2>>"$work/kwin-input.err"; }
  kwin_input_pid=$fake_input_PID
  local reply=
  read -r -t 10 reply <&"${fake_input[0]}"
  [ "$reply" = ready ] || { echo "  KWin took no fake input: $(cat "$work/kwin-input.err")"; return 1; }
}
kwin_input() {  # COMMAND...
  local reply=
  [ -n "$kwin_input_pid" ] || return 1
  echo "$*" >&"${fake_input[1]}" && read -r -t 10 reply <&"${fake_input[0]}" && [ "$reply" = "done" ]
}

start_gnome() {
  desktop=gnome
  compositor_log="$work/gnome-shell.log"
  unset WAYLAND_DISPLAY SWAYSOCK
  start_bus "$bus_address" session_bus || return 1
  # The shell wants logind on the system bus; a stand-in answers there.
  start_bus "$system_bus_address" system_bus || return 1
  ( as_desktop_user /usr/bin/python3 -m dbusmock --system --template logind ) >"$work/logind.log" 2>&1 &
  logind=$!
  # Settings in memory: the shell's defaults, nothing written.
  ( as_desktop_user GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 gnome-shell --headless --wayland --no-x11 \
      --virtual-monitor 1280x800 --wayland-display wayland-gnome --unsafe-mode ) >"$compositor_log" 2>&1 &
  compositor=$!
  wait_for_socket || return 1
  export WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime"
  # It starts in the overview, and says in a notification that the screen
  # cannot be locked: both are put away. A keyboard and a pointer of the
  # shell's own make the seat offer them to the clock.
  while_desktop_starts gnome_ready || return 1
  gnome_eval 'const Clutter = imports.gi.Clutter;
    const seat = Clutter.get_default_backend().get_default_seat();
    global.horavelKeys = seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
    global.horavelPointer = seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
    true' >/dev/null
}
gnome_ready() {
  [ "$(gnome_eval 'Main.overview.hide(); Main.messageTray.getSources().forEach(source => source.destroy());
    !Main.layoutManager._startingUp && !Main.overview.visible && Main.messageTray.getSources().length == 0')" = true ] &&
    desktop_shot "$work/first.ppm"
}

# The shell's answer to the JavaScript, as its JSON text; fails when the
# shell does not run it.
gnome_eval() {  # CODE
  local answer
  answer=$(as_desktop_user gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
             --method org.gnome.Shell.Eval "$1" 2>/dev/null) || return 1
  # gdbus prints (true, 'ANSWER'), the answer's quotes escaped.
  case "$answer" in "(true, '"*"')") ;; *) return 1 ;; esac
  answer=${answer#"(true, '"}
  printf '%s\n' "${answer%"')"}" | sed "s/\\\\'/'/g"
}

desktop_shot() {  # PPM
  case "$desktop" in
    kwin)
      ( as_desktop_user /usr/bin/python3 "$e2e_lib/kwin-shot.py" "$work/shot.ppm" ) 2>>"$work/shot.err" &&
        mv "$work/shot.ppm" "$1" ;;
    gnome)
      rm -f "$work/shot.png"
      ( as_desktop_user gdbus call --session --dest org.gnome.Shell.Screenshot \
          --object-path /org/gnome/Shell/Screenshot --method org.gnome.Shell.Screenshot.Screenshot \
          false false "$work/shot.png" ) >/dev/null 2>>"$work/shot.err" &&
        convert "$work/shot.png" -depth 8 "ppm:$1" 2>/dev/null ;;
    *) return 1 ;;
  esac
}

# Input as a desktop's own devices give it. GNOME Shell's virtual devices
# count time in microseconds of the monotonic clock.
gnome_input() {  # DEVICE CALL
  [ "$(gnome_eval "const now = imports.gi.GLib.get_monotonic_time(); global.$1.$2; true")" = true ]
}
press_keys() {  # CODE...
  local code
  case "$desktop" in
    kwin) kwin_input key "$@" ;;
    gnome)
      for code in "$@"; do
        gnome_input horavelKeys "notify_key(now, $code, 1)" && gnome_input horavelKeys "notify_key(now, $code, 0)" || return 1
        sleep 0.1
      done ;;
  esac
}
hold_key() {  # CODE
  case "$desktop" in
    kwin) kwin_input hold "$1" ;;
    gnome) gnome_input horavelKeys "notify_key(now, $1, 1)" ;;
  esac
}
free_key() {  # CODE
  case "$desktop" in
    kwin) kwin_input free "$1" ;;
    gnome) gnome_input horavelKeys "notify_key(now, $1, 0)" ;;
  esac
}
point_at() {  # X Y
  case "$desktop" in
    kwin) kwin_input point "$1" "$2" ;;
    gnome) gnome_input horavelPointer "notify_absolute_motion(now, $1, $2)" ;;
  esac
}
# The clock's menu by the keyboard, Shift+F10.
open_menu_by_keys() { hold_key $key_shift && press_keys $key_f10 && free_key $key_shift; }

stop_desktop() {
  if [ -n "$kwin_input_pid" ]; then
    # The end of its input ends it.
    local input=${fake_input[1]:-}
    [ -n "$input" ] && exec {input}>&-
    wait "$kwin_input_pid" 2>/dev/null
  fi
  kwin_input_pid=
  stop_compositor
  local process
  for process in $logind $system_bus $session_bus; do
    kill "$process" 2>/dev/null
    wait "$process" 2>/dev/null
  done
  logind="" system_bus="" session_bus="" desktop=""
  rm -f "$work"/runtime/bus "$work"/runtime/system-bus
}

# ---- What both desktops' checks look for -----------------------------------
# Where the picture PPM (by default the snapshot's, $work/reference.ppm) shows
# on the output pixel for pixel, "LEFT TOP" one a line, after up to 30 s: the
# clock's start and its first picture take a while on a loaded machine. A
# command's success (and so each place it prints) is waited for, not its
# first answer.
found_on_output() {  # [PPM [COMMAND...]]
  local picture=${1:-$work/reference.ppm}
  shift 2>/dev/null
  local places
  for _ in $(seq 60); do
    if desktop_shot "$work/output.ppm" && places=$(wayland_look find "$work/output.ppm" "$picture") &&
       { [ $# -eq 0 ] || "$@" "$places"; }; then
      echo "$places"
      return 0
    fi
    sleep 0.5
  done
  return 1
}

# Starts the clock frozen at each of the four pinned moments in turn, at the
# unit U its first start has on this output, and waits for the output to show
# the picture horavel-snapshot draws for that moment at unit U; names the
# moments it did not show.
shows_snapshot_at_four_moments() {  # U
  local entry moment zone missing=()
  for entry in "${moments[@]}"; do
    read -r moment zone <<<"$entry"
    draw_reference "$zone" "$moment" "$1" "$work/reference.ppm" || return 1
    rm -f "$settings"
    start_clock frozen "$moment" "$zone"
    found_on_output >/dev/null || missing+=("$moment")
    end_clock
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "  the snapshot's picture at U = $1 did not show for ${missing[*]}"
  return 1
}

# The clock's menu as horavel-snapshot draws it for U = 28 (Medium marked; the
# moment does not show in it, but is pinned all the same), in
# two pieces of its left 100 columns, its marks and labels left of the keys
# column, which moves with the menu's width: $work/menu-top.ppm, the border
# above and the three sizes, and $work/menu-bottom.ppm, everything below its
# fourth item ("Always on top", which no Wayland menu has) to the border
# below. At 100 % the rows are 24 pixels tall below an edge of 4.
draw_menu_pieces() {
  local height
  (cd "$work" && "$build/tools/snapshot/horavel-snapshot" --at "${moments[0]%% *}" --unit 28 --menu-out "$work/menu.png") &&
    height=$(identify -format %h "$work/menu.png") &&
    convert "$work/menu.png" -crop 100x76+0+0 +repage -depth 8 "ppm:$work/menu-top.ppm" &&
    convert "$work/menu.png" -crop "100x$((height - 100))+0+100" +repage -depth 8 "ppm:$work/menu-bottom.ppm"
}

trap 'end_clock; stop_desktop; rm -rf "$work"' EXIT
