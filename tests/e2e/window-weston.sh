#!/usr/bin/env bash
# The Linux clock program under headless weston, which offers no server-side
# decorations (as GNOME does not): the clock draws its own frame, a title bar
# above the client area, and inside it exactly what horavel-snapshot draws at
# a pinned moment, with no X display; SIGTERM ends it with 0 and saves the
# unit. Screenshots come from weston-screenshooter, which weston serves to any
# client when it runs with --debug.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-weston
source tests/e2e/lib/wayland-start.sh

# The whole output as binary PPM. weston-screenshooter writes a PNG named
# after the hour into its current folder, the user's home.
shot_output() {
  rm -f "$work"/home/wayland-screenshot-*.png
  (cd "$work/home" && as_wayland_user weston-screenshooter) >/dev/null 2>&1 &&
    convert "$work"/home/wayland-screenshot-*.png -depth 8 "ppm:$1" 2>/dev/null
}

start_weston 1024 768 || { echo "FAIL window-weston: headless weston did not start"; exit 1; }
sleep 1
check "weston-screenshooter takes a screenshot of the empty desktop" 'shot_output "$work/empty.ppm"'

read -r moment zone <<<"${moments[1]}"
draw_reference "$zone" "$moment" 28 "$work/reference.ppm"
start_clock frozen "$moment" "$zone"
# Waits up to 10 s for the snapshot's picture to show somewhere on the output;
# prints where, "LEFT TOP".
find_clock() {
  for _ in $(seq 20); do
    shot_output "$work/desktop.ppm" && wayland_look find "$work/desktop.ppm" "$work/reference.ppm" && return 0
    sleep 0.5
  done
  echo "  the snapshot's picture shows nowhere on the output" >&2
  return 1
}
place=$(find_clock)
check "the clock shows, pixel for pixel, the snapshot's picture at U = 28 (at ${place:-nowhere})" '[ -n "$place" ]'

# What the clock added to the empty desktop reaches above the client area, and
# the row right above it is the grey title bar of the clock's own decorations,
# not the bluish desktop nor a shadow over it. (weston may place the window so
# high that only a few rows of the title bar show.)
frame_around() {
  local box left top width height x y grey
  [ -n "$place" ] || return 1
  box=$(wayland_look changed "$work/empty.ppm" "$work/desktop.ppm") || return 1
  read -r width height left top <<<"$(sed 's/[x+]/ /g' <<<"$box")"
  read -r x y <<<"$place"
  [ "$y" -ge 1 ] && grey=$(wayland_look grey "$work/desktop.ppm" $((y - 1)) "$x" 196)
  echo "  the clock changed ${width}x${height}+${left}+${top} of the desktop, its client area is 196x448+$x+$y;" \
       "the row above it is ${grey:-no} per cent grey"
  [ "$top" -lt "$y" ] && [ $((y - top)) -le 100 ] && [ "$width" -le 300 ] && [ "${grey:-0}" -ge 90 ]
}
check "the clock draws its own decorations: a grey title bar right above the client area" 'frame_around'
kill -TERM "$pid"
check "SIGTERM ends the clock with code 0 and saves the unit 28" 'wait_for_end SIGTERM && [ "$(saved_unit)" = 28 ]'

finish
