# Shared by the Wayland window tests: the clock under a headless compositor,
# run as the compositor's user from a copy of the program and its maps that
# the user can read, and the pictures horavel-snapshot draws to compare it with.
# The sourcing script sets e2e_name, work and build (the Linux build's folder)
# and calls wayland_prepare first.
e2e_lib=$(dirname "${BASH_SOURCE[0]}")
source "$e2e_lib/report.sh"
source "$e2e_lib/pinned-clock.sh"
look() { python3 "$e2e_lib/window-look.py" "$@"; }
# The system's Python, which has numpy from its package.
wayland_look() { /usr/bin/python3 "$e2e_lib/wayland-look.py" "$@"; }

settings="$work/home/.config/Brantolm/Horavel/Settings.txt"
# The application id is the name of the desktop entry, which names the window.
app_id=$(basename "$(ls packaging/*.desktop | head -1)" .desktop)

mkdir -p "$work/program"
cp "$build/app/horavel" "$build/app/Earth.png" "$build/app/Moon.png" "$work/program/"
[ "$(id -u)" -eq 0 ] && chown -R "$wayland_user_name:" "$work/program"
clock_program=$work/program/horavel

# Starts the clock as the compositor's user, with the environment in clock_env
# and the words given; sets pid. Its standard error goes to $work/clock.err.
launch() {
  (cd "$work/program" && as_wayland_user env "${clock_env[@]}" "$clock_program" "$@") 2>"$work/clock.err" &
  pid=$!
}

# Starts the clock pinned: "frozen" at a moment or "running" from it, by
# default running from the first moment.
start_clock() {  # [frozen|running MOMENT ZONE]
  [ $# -eq 0 ] && set -- running ${moments[0]}
  pin_clock "$@" && launch
}

# The settings file without its line end, and its third field, the unit.
saved() { cat "$settings" 2>/dev/null; }
saved_unit() { saved | awk '{ print $3 }'; }
wait_for_saved() { wait_for_output "the settings file holds" "$1" saved; }

# Draws as binary PPM what horavel-snapshot draws for moment M at unit U in
# zone Z.
draw_reference() {  # ZONE MOMENT UNIT PPM
  (cd "$work" && TZ=$1 "$build/tools/snapshot/horavel-snapshot" --at "$2" --unit "$3" \
     --out "$work/reference.png" 2>/dev/null) &&
    convert "$work/reference.png" -depth 8 "ppm:$4" ||
    { echo "  horavel-snapshot drew no picture"; return 1; }
}

# Ends the clock if it still runs, and forgets it.
end_clock() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  pid=
}
