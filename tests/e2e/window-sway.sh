#!/usr/bin/env bash
# The Linux clock program as a native Wayland client of headless sway, with no
# X display. At output scale 1: at four pinned moments the window shows exactly
# what horavel-snapshot draws; the S, M and L keys; a resize by the compositor
# snapped to the 7:16 grid; the unit saved and the place left alone on closing,
# on SIGTERM and when the compositor goes away, which ends the clock with 1. At scale 2: the first start is
# sharp, U = 56 in the output's pixels. The menu by a right-click and the
# keyboard, "About Horavel" as a window of its own, a tiled clock keeping its
# unit, and the clock on the desktop's bottom layer, kept over a restart.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-sway
source tests/e2e/lib/wayland-start.sh

# sway with a pointer and a keyboard in its seat from the start, as on a desktop.
start_desktop() {  # SCALE
  start_sway "$1" && add_seat_devices && park_pointer
}

# The clock's window in sway's tree: its node as one line of JSON, or nothing.
node() {
  swaymsg -t get_tree 2>/dev/null |
    jq -c --argjson pid "${pid:-0}" 'first(.. | objects | select(.pid? == $pid and .type != "workspace"))'
}
# Its client area in the output's logical pixels, "WIDTHxHEIGHT+LEFT+TOP".
geometry() {
  node | jq -r '"\(.window_rect.width)x\(.window_rect.height)+\(.rect.x + .window_rect.x)+\(.rect.y + .window_rect.y)"' 2>/dev/null
}
# A screenshot of the client area in the output's pixels (twice the logical
# ones at scale 2), or of the whole output, as binary PPM.
shot() { grim -t ppm -g "$(geometry | sed 's/^\([0-9]*\)x\([0-9]*\)+\([0-9-]*\)+\([0-9-]*\)$/\3,\4 \1x\2/')" "$1" 2>/dev/null; }
shot_output() { grim -t ppm "$1" 2>/dev/null; }

# Waits up to 5 s for the client area to show, pixel for pixel, what
# horavel-snapshot draws for the moment, zone and unit.
shows_snapshot() {  # MOMENT ZONE UNIT
  draw_reference "$2" "$1" "$3" "$work/reference.ppm" || return 1
  for _ in $(seq 25); do
    shot "$work/window.ppm" && cmp -s "$work/window.ppm" "$work/reference.ppm" && return 0
    sleep 0.2
  done
  echo "  $(look compare "$work/window.ppm" "$work/reference.ppm")"
  return 1
}

# Asks the window to close as the compositor's close button does
# (xdg_toplevel.close); the clock's exit code.
close_clock() {
  swaymsg "[pid=$pid] kill" >/dev/null 2>&1
  wait_for_end "xdg_toplevel.close"
}

# Keys through the virtual keyboard, to the window that has the focus.
keys() { wtype "$@" 2>/dev/null; }
# The pointer to (X, Y) of the output, in logical pixels, and a click of its
# right button there. sway draws the pointer into its screenshots, so it is
# parked in the output's top-left corner when it is not needed.
point_at() { swaymsg seat - cursor set "$1" "$2" >/dev/null; }
right_click() { swaymsg seat - cursor press button3 >/dev/null && swaymsg seat - cursor release button3 >/dev/null; }
park_pointer() { point_at 0 0; }

# The keys that choose "On the desktop" in the open menu: Small, Medium, Large,
# Start at login, On the desktop.
desktop_keys=(-k Down -k Down -k Down -k Down -k Down -k Return)

# ---- Output scale 1 --------------------------------------------------------
start_desktop 1 || { echo "FAIL window-sway: headless sway did not start"; exit 1; }

rm -f "$settings"
for entry in "${moments[@]}"; do
  read -r moment zone <<<"$entry"
  start_clock frozen "$moment" "$zone"
  check "$moment in $zone, U = 28: the window shows the snapshot's picture" \
    'wait_for_size 196x448 && sleep 1 && shows_snapshot "$moment" "$zone" 28'
  keys l
  check "$moment in $zone, key L: the window shows the snapshot's picture at U = 40" \
    'wait_for_size 280x640 && sleep 1 && shows_snapshot "$moment" "$zone" 40'
  close_clock >/dev/null
  rm -f "$settings"
done

start_clock
title_and_id() { node | jq -r '"\(.name) \(.app_id)"'; }
check "first start, no X display: a window of 196 x 448 titled \"Horavel\" with the application id $app_id" \
  'wait_for_size 196x448 && [ "$(title_and_id)" = "Horavel $app_id" ]'
shot "$work/a.ppm"; sleep 1; shot "$work/b.ppm"
check "the clock face changes within a second" 'look differs "$work/a.ppm" "$work/b.ppm"'
keys l
check "key L gives a client area of 280 x 640" 'wait_for_size 280x640'
keys M
check "key M gives a client area of 196 x 448" 'wait_for_size 196x448'
keys s
check "key S gives a client area of 140 x 320" 'wait_for_size 140x320'
swaymsg "[pid=$pid] resize set 280 640" >/dev/null
check "the compositor's size of 280 x 640, on the grid, is taken as it is" 'wait_for_size 280x640'
keys s
wait_for_size 140x320 >/dev/null
swaymsg "[pid=$pid] resize set 210 320" >/dev/null
check "the compositor's width of 210 snaps the height to 480" 'wait_for_size 210x480'
swaymsg "[pid=$pid] resize set 210 160" >/dev/null
check "the compositor's height of 160 snaps the width to 70" 'wait_for_size 70x160'
keys s
check "key S after resizing gives 140 x 320 again" 'wait_for_size 140x320'
check "closing (xdg_toplevel.close) ends the clock with code 0" 'close_clock'
check "closing saves the unit 20" '[ "$(saved_unit)" = 20 ]'
check "a restart opens with the saved unit" 'start_clock && wait_for_size 140x320'
close_clock >/dev/null

# The place saved by an X11 or Windows start is left for the next one.
printf '37 53 20\n' >"$settings"
start_clock
check "with a saved place, the clock opens at the saved unit" 'wait_for_size 140x320'
keys l
wait_for_size 280x640 >/dev/null
kill -TERM "$pid"
check "SIGTERM ends the clock with code 0" 'wait_for_end SIGTERM'
check "SIGTERM saves the unit 40 and leaves the saved place as it was" '[ "$(saved)" = "37 53 40" ]'

# ---- The menu and the desktop ---------------------------------------------
# The part of the output that changed since the screenshot $work/before.ppm,
# "WIDTHxHEIGHT+LEFT+TOP", after up to 5 s; nothing if nothing changed.
output_changed() { shot_output "$work/after.ppm" && wayland_look changed "$work/before.ppm" "$work/after.ppm"; }
changed_since_before() { retry_for_5s output_changed; }
# Waits up to 10 s for the snapshot's picture in $work/reference.ppm to show
# on the output at exactly "LEFT TOP".
shows_at() {
  for _ in $(seq 50); do
    shot_output "$work/output.ppm" && [ "$(wayland_look find "$work/output.ppm" "$work/reference.ppm")" = "$1" ] && return 0
    sleep 0.2
  done
  echo "  the snapshot's picture shows at '$(wayland_look find "$work/output.ppm" "$work/reference.ppm" | tr '\n' ' ')', not at $1"
  return 1
}

rm -f "$settings"
read -r moment zone <<<"${moments[0]}"
start_clock frozen "$moment" "$zone"
wait_for_size 196x448 >/dev/null
sleep 1
read -r left top <<<"$(geometry | sed 's/^[0-9]*x[0-9]*+\([0-9-]*\)+\([0-9-]*\)$/\1 \2/')"
point_at $((left + 60)) $((top + 80))
sleep 0.3
shot_output "$work/before.ppm"
right_click
menu=$(changed_since_before)
check "a right-click at ($((left + 60)), $((top + 80))) opens a menu there (${menu:-nothing changed})" \
  '[ -n "$menu" ] && [ "${menu#*+}" = "$((left + 60))+$((top + 80))" ]'
keys -k Down -k Down -k Down -k Return
park_pointer
check "\"Large\" chosen by keyboard gives 280 x 640" 'wait_for_size 280x640'
check "closing after \"Large\" saves the unit 40" 'close_clock && [ "$(saved_unit)" = 40 ]'

# "About Horavel" from the menu: a window of its own beside the clock, whose
# picture stays the snapshot's meanwhile; Enter ends it.
about() {
  swaymsg -t get_tree 2>/dev/null |
    jq -r 'first(.. | objects | select(.name? == "About Horavel")) | "\(.app_id) \(.rect.width > 100)"'
}
rm -f "$settings"
start_clock frozen "$moment" "$zone"
wait_for_size 196x448 >/dev/null
keys -M shift -k F10 -m shift
sleep 0.5
keys -k End -k Up -k Return
check "\"About Horavel\" opens as a window of its own" 'wait_for_output "the About window" "$app_id true" about'
# sway floats it over the clock's middle: it is moved aside to look at the clock.
swaymsg '[title="^About Horavel$"] move position 0 0' >/dev/null
check "the clock shows the snapshot's picture while About is open" 'shows_snapshot "$moment" "$zone" 28'
keys -k Return
check "Enter ends About and leaves the clock running" 'wait_for_output "the About window" "" about && kill -0 "$pid"'
close_clock >/dev/null

# Tiled, the clock draws inside its tile, and its saved unit stays the one
# chosen; floating again, it is the window it was.
rm -f "$settings"
start_clock
wait_for_size 196x448 >/dev/null
keys l
wait_for_size 280x640 >/dev/null
swaymsg "[pid=$pid] floating disable" >/dev/null
check "tiled, the clock takes its tile ($(geometry))" 'sleep 1 && [ "$(geometry | cut -dx -f1)" -gt 1000 ]'
sleep 1.5
swaymsg "[pid=$pid] floating enable" >/dev/null
check "floating again, it is the window it was" 'wait_for_size 280x640'
check "the tile's size never became the saved unit" 'close_clock && [ "$(saved_unit)" = 40 ]'

# On the desktop: the clock becomes a layer surface in a corner of the output,
# no longer a window in sway's tree, below the windows; the corner and margins
# the settings line keeps (its sixth to eighth fields: 1 top left, 2 top right,
# 3 bottom left, 4 bottom right, then the margins from those edges) bring it
# back after a restart. The output is 1280 x 1024, the clock 196 x 448.
# Where the saved corner and margins put the clock's top-left, "LEFT TOP".
saved_place() {
  saved | awk '{ corner = $6; x = $7; y = $8
    if (corner == 2 || corner == 4) x = 1280 - 196 - x
    if (corner == 3 || corner == 4) y = 1024 - 448 - y
    if (corner >= 1 && corner <= 4) print x, y }'
}
# Where the snapshot's picture shows on the output, "LEFT TOP", after up to 5 s.
output_shows_reference() { shot_output "$work/output.ppm" && wayland_look find "$work/output.ppm" "$work/reference.ppm"; }
found_place() { retry_for_5s output_shows_reference; }
rm -f "$settings"
draw_reference "$zone" "$moment" 28 "$work/reference.ppm"
start_clock frozen "$moment" "$zone"
wait_for_size 196x448+542+288 >/dev/null
sleep 1
point_at 602 368
right_click
sleep 0.5
keys "${desktop_keys[@]}"
park_pointer
in_tree() { if [ -n "$(node)" ]; then echo "a window"; else echo "no window"; fi; }
check "\"On the desktop\" takes the clock out of the windows sway arranges" \
  'wait_for_output "sway'"'"'s tree holds" "no window" in_tree'
place=$(found_place)
check "on the desktop the clock shows the snapshot's picture at a corner of the output (${place:-nowhere})" \
  'case "$place" in "28 28" | "1056 28" | "28 548" | "1056 548") true ;; *) false ;; esac'
read -r left top <<<"${place:-0 0}"
( as_wayland_user weston-flower ) >/dev/null 2>&1 &
cover=$!
sleep 1
swaymsg "[pid=$cover] move position $((left + 10)) $((top + 10))" >/dev/null
check "a window moved over the clock on the desktop covers it" \
  'sleep 1 && shot_output "$work/output.ppm" && ! wayland_look find "$work/output.ppm" "$work/reference.ppm" >/dev/null'
kill "$cover"
wait "$cover" 2>/dev/null
kill -TERM "$pid"
check "SIGTERM ends the clock on the desktop with code 0" 'wait_for_end SIGTERM'
check "the saved corner and margins are the place it showed at" '[ -n "$place" ] && [ "$(saved_place)" = "$place" ]'
start_clock frozen "$moment" "$zone"
check "after a restart the clock is on the desktop again, in the same corner with the same margins" \
  'sleep 1 && [ -n "$place" ] && [ "$(found_place)" = "$place" ] && [ -z "$(node)" ]'
end_clock
# A corner and margins of the settings line's own: bottom left, 40 and 60.
printf '0 0 28 96 0 3 40 60\n' >"$settings"
start_clock frozen "$moment" "$zone"
check "settings naming the bottom-left corner with margins 40 and 60 put the clock at (40, 516)" \
  'sleep 1 && [ "$(found_place)" = "40 516" ]'
end_clock
# Margins saved on a far larger output than this one, from the top-left
# corner (where the pointer is parked): the clock comes onto this output, into
# the bottom-right corner, nearest to where it would have been.
printf '0 0 28 96 0 1 5000 5000\n' >"$settings"
start_clock frozen "$moment" "$zone"
check "margins that would put the clock off the output bring it to the nearest corner's edges instead" \
  'sleep 1 && [ "$(found_place)" = "1084 576" ]'
end_clock

printf '37 53 40\n' >"$settings"
start_clock
wait_for_size 280x640 >/dev/null
keys m
wait_for_size 196x448 >/dev/null
stop_compositor
check "the compositor going away ends the clock with code 1, as a lost X server does" 'ends_with 1 "the compositor ending"'
check "the compositor going away saves the unit 28" '[ "$(saved)" = "37 53 28" ]'

# ---- Output scale 2 --------------------------------------------------------
rm -f "$settings"
start_desktop 2 || { echo "FAIL window-sway: headless sway did not start at scale 2"; finish; }
read -r moment zone <<<"${moments[2]}"
start_clock frozen "$moment" "$zone"
check "at scale 2 the first start is 196 x 448 in the output's logical pixels" 'wait_for_size 196x448'
check "at scale 2 the window is 392 x 896 output pixels and shows the snapshot at U = 56" \
  'sleep 1 && shows_snapshot "$moment" "$zone" 56'
close_clock >/dev/null
stop_compositor

finish
