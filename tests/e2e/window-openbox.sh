#!/usr/bin/env bash
# The Linux clock program under a real window manager (openbox) with its frame,
# on an X server of the test's own so that the server can be ended under the
# clock: the saved outer position counts the frame (_NET_FRAME_EXTENTS), a
# border drag through the window manager snaps to the 7:16 grid, and the place
# and unit are kept when the clock is ended by SIGTERM, when the X server goes
# away (the clock then ends with 1), after a move has been still for a second,
# after S/M/L then close, and through a maximised spell.
# Then the clock's menu: it opens by a right-click and by Shift+F10 and shows
# the picture horavel-snapshot draws of it; Escape and a click outside change
# nothing; Large by keyboard; "About Horavel" as a dialog while the clock
# ticks on; always on top (_NET_WM_STATE_ABOVE) by T and by
# the menu, kept over a restart; start at login makes a valid autostart entry
# that starts this program, and removes it again. Last a clock of a zone: its
# title, its picture, its own saved place, and another zone typed in the menu.
set -uo pipefail
cd "$(dirname "$0")/../.."

build=$(realpath -m "${HORAVEL_LINUX_BUILD:-build/linux}")
if [ ! -x "$build/app/horavel" ]; then
  echo "FAIL window-openbox: $build/app/horavel has not been built"
  exit 1
fi
work=$(mktemp -d)
server=
manager=
stop_display() {
  [ -n "$manager" ] && kill "$manager" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  manager=
  server=
}
trap 'stop_display; rm -rf "$work"' EXIT

export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME" "$work/cwd"
settings="$HOME/.config/Brantolm/Horavel/Settings.txt"
e2e_name=window-openbox

# An X server on a free display, with openbox managing it.
start_display() {
  local number=90
  # A server that ends at once found its display taken (a server just ended
  # may not have let it go yet): the next number is tried.
  for _ in 1 2 3; do
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    server=$!
    export DISPLAY=":$number"
    for _ in $(seq 100); do
      xdpyinfo >/dev/null 2>&1 && break
      kill -0 "$server" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$server" 2>/dev/null && break
    number=$((number + 1))
  done
  openbox >/dev/null 2>&1 &
  manager=$!
  # openbox is ready once it names itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  return 1
}

start_display || { echo "FAIL window-openbox: openbox did not start"; exit 1; }
source tests/e2e/lib/window-session.sh

launch() {
  (cd "$work/cwd" && exec env "${clock_env[@]}" "$build/app/horavel") &
  pid=$!
}
saved() { cat "$settings" 2>/dev/null; }

# The frame openbox draws: "LEFT RIGHT TOP BOTTOM".
extents() { xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | awk -F' = ' '{gsub(/,/, ""); print $2}'; }
# Waits up to 5 s for the frame to be measured.
wait_for_frame() {
  for _ in $(seq 50); do
    [ -n "$(extents)" ] && return 0
    sleep 0.1
  done
  return 1
}
# The outer window's top-left corner, "LEFT TOP": the client area less the frame.
outer_place() {
  local geometry_now left right top bottom
  geometry_now=$(geometry)
  read -r left right top bottom <<<"$(extents)"
  local x=${geometry_now#*+}
  echo "$(( ${x%+*} - left )) $(( ${geometry_now##*+} - top ))"
}

# Waits up to 5 s for the outer window to stand at "LEFT TOP".
wait_for_place() { wait_for_output "the outer window stands at" "$1" outer_place; }

if start_clock && wait_for_frame; then pass "the clock opens in an openbox frame ($(extents))"; else
  fail "the clock opens in an openbox frame"; finish; fi
check "the first start stands at (0, 0) with the frame around the client area" \
  'wait_for_size 196x448 && wait_for_place "0 0"'

# Moved, and ended by SIGTERM before a second has passed: the signal saves.
xdotool windowmove "$window" 300 100
sleep 0.3
check "a move to (300, 100) puts the outer window there" 'wait_for_place "300 100"'
kill -TERM "$pid"
check "SIGTERM ends the clock with code 0" 'wait_for_end SIGTERM'
check "SIGTERM saves the outer position, not the client's" '[ "$(saved)" = "300 100 28" ]'
check "the next start opens at (300, 100)" \
  'start_clock && wait_for_frame && wait_for_size 196x448 && wait_for_place "300 100"'

# A move alone is saved once the window has been still for a second.
xdotool windowmove "$window" 120 80
sleep 0.3
check "a move is not saved while the window may still be moving" '[ "$(saved)" = "300 100 28" ]'
sleep 1.5
check "a move is saved after a second of stillness" '[ "$(saved)" = "120 80 28" ]'

# The bottom-right corner of the frame dragged through the window manager.
read -r frameLeft frameRight frameTop frameBottom <<<"$(extents)"
cornerX=$((120 + frameLeft + 196 + frameRight - 1))
cornerY=$((80 + frameTop + 448 + frameBottom - 1))
xdotool mousemove "$cornerX" "$cornerY"; sleep 0.2
xdotool mousedown 1; sleep 0.2
xdotool mousemove $((cornerX + 30)) $((cornerY + 60)); sleep 0.3
xdotool mousemove $((cornerX + 50)) $((cornerY + 100)); sleep 0.3
xdotool mouseup 1
sleep 0.5
on_grid() {
  local size width height
  size=$(geometry | cut -d+ -f1)
  width=${size%x*}
  height=${size#*x}
  [ $((width % 7)) = 0 ] && [ $((height % 16)) = 0 ] && [ $((width / 7)) = $((height / 16)) ] && [ "$size" != 196x448 ]
}
check "a border drag through openbox keeps the client area on the 7:16 grid ($(geometry | cut -d+ -f1))" 'on_grid'
sleep 1.5
unit=$(( $(geometry | cut -d+ -f1 | cut -dx -f2) / 16 ))
check "the dragged size is saved as its unit, $unit" '[ "$(saved)" = "120 80 $unit" ]'

# Maximised by the window manager, the clock draws inside the size it is
# given, and its saved place and unit stay the ones the user chose; restored,
# it is the window it was.
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
check "maximised, the client area is the screen's less the frame ($(geometry | cut -d+ -f1))" \
  'sleep 1 && [ "$(geometry | cut -dx -f1)" -gt 700 ]'
sleep 1.5
check "a maximised clock keeps its saved place and unit" '[ "$(saved)" = "120 80 $unit" ]'
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
check "restored, it is the window it was" \
  'wait_for_size "$((7 * unit))x$((16 * unit))" && wait_for_place "120 80"'

# S, M, L, then closed by the window manager's close.
xdotool key --window "$window" l 2>/dev/null
check "key L gives 280 x 640 in the frame" 'wait_for_size 280x640'
check "closing after L ends the clock with code 0" 'close_clock'
check "closing after L keeps the unit 40" '[ "$(saved)" = "120 80 40" ]'

# Moved, then the X server ends under the clock before a second has passed:
# the lost connection saves.
check "the clock starts again at 280 x 640" 'start_clock && wait_for_frame && wait_for_size 280x640'
xdotool windowmove "$window" 250 150
sleep 0.3
stop_display
check "the X server's end ends the clock with code 1" 'ends_with 1 "the X server ending"'
check "the X server's end saves the place the clock was moved to" '[ "$(saved)" = "250 150 40" ]'
start_display || fail "openbox starts again"
check "on a new X server the clock opens at (250, 150)" \
  'start_clock && wait_for_frame && wait_for_size 280x640 && wait_for_place "250 150"'
close_clock >/dev/null

# The clock's menu, from a start without settings.
rm -f "$settings"
autostart="$HOME/.config/autostart/com.brantolm.Horavel.desktop"
menu_window() { xdotool search --onlyvisible --name '^Horavel menu$' 2>/dev/null | head -1; }
menu_open() { wait_for_output "the menu windows showing" 1 sh -c "xdotool search --onlyvisible --name '^Horavel menu\$' 2>/dev/null | wc -l"; }
menu_closed() { wait_for_output "the menu windows showing" 0 sh -c "xdotool search --onlyvisible --name '^Horavel menu\$' 2>/dev/null | wc -l"; }
above() { xprop -id "$window" _NET_WM_STATE 2>/dev/null | grep -c _NET_WM_STATE_ABOVE; }
# The menu shows, pixel for pixel, what horavel-snapshot draws of it.
menu_shows_snapshot() {
  "$build/tools/snapshot/horavel-snapshot" --at "${moments[0]%% *}" --menu-out "$work/menu-reference.png" 2>/dev/null &&
    convert "$work/menu-reference.png" -depth 8 "ppm:$work/menu-reference.ppm" || { echo "  no menu picture drawn"; return 1; }
  for _ in $(seq 25); do
    import -window "$(menu_window)" -depth 8 "ppm:$work/menu.ppm" 2>/dev/null && cmp -s "$work/menu.ppm" "$work/menu-reference.ppm" && return 0
    sleep 0.2
  done
  echo "  $(look compare "$work/menu.ppm" "$work/menu-reference.ppm")"
  return 1
}

check "the clock starts for its menu" 'start_clock && wait_for_frame && wait_for_size 196x448'
xdotool mousemove --window "$window" 60 80 click 3
check "a right-click opens the menu with the picture the clock draws of it" 'menu_open && menu_shows_snapshot'
xdotool key Escape
check "Escape closes the menu and changes nothing" \
  'menu_closed && sleep 0.5 && wait_for_size 196x448 && [ "$(above)" = 0 ] && [ ! -e "$settings" ]'
xdotool key --window "$window" shift+F10
check "Shift+F10 opens the menu" 'menu_open && menu_shows_snapshot'
xdotool mousemove 900 700 click 1
check "a click outside closes the menu and changes nothing" \
  'menu_closed && sleep 0.5 && wait_for_size 196x448 && [ "$(above)" = 0 ] && [ ! -e "$settings" ]'

xdotool key --window "$window" shift+F10
menu_open >/dev/null
xdotool key Down Down Down Return
check "Large chosen by keyboard gives 280 x 640" 'menu_closed && wait_for_size 280x640'

# "About Horavel": a dialog of the clock's own, over a clock that goes on
# ticking, and that shows exactly its picture meanwhile when pinned.
close_clock >/dev/null
rm -f "$settings"
draw_snapshot() {
  (cd "$work/cwd" && TZ=$1 "$build/tools/snapshot/horavel-snapshot" --at "$2" --unit "$3" --out "$4" "${@:5}" 2>/dev/null)
}
abouts() { xdotool search --onlyvisible --name '^About Horavel$' 2>/dev/null | wc -l; }
open_about() {
  xdotool key --window "$window" shift+F10 && menu_open >/dev/null && xdotool key End Up Return &&
    wait_for_output "About windows" 1 abouts
}
read -r moment zone <<<"${moments[1]}"
start_clock running "$moment" "$zone" && wait_for_frame >/dev/null
check "\"About Horavel\" opens a window of its own" 'open_about'
shot "$work/a.ppm"; sleep 1.1; shot "$work/b.ppm"
check "the clock changes from second to second while About is open" '! cmp -s "$work/a.ppm" "$work/b.ppm"'
# The new dialog has the focus.
xdotool key Return
check "Enter ends About, and the clock goes on" 'wait_for_output "About windows" 0 abouts && kill -0 "$pid"'
close_clock >/dev/null
start_clock frozen "$moment" "$zone" && wait_for_frame >/dev/null
# It opens over the clock's middle, and is moved aside to look at the clock.
move_about_aside() { xdotool search --onlyvisible --name '^About Horavel$' windowmove %@ 560 300 2>/dev/null; }
check "over a pinned clock with About open the window is the snapshot's picture" \
  'open_about && move_about_aside && shows_snapshot "$moment" "$zone" 28'
close_clock >/dev/null
start_clock && wait_for_frame >/dev/null
xdotool key --window "$window" l
wait_for_size 280x640 >/dev/null

xdotool key --window "$window" t
check "T sets _NET_WM_STATE_ABOVE and saves it" 'wait_for_output "windows above" 1 above && wait_for_saved "0 0 40 96 1"'
xdotool key --window "$window" t
check "T again takes it away" 'wait_for_output "windows above" 0 above && wait_for_saved "0 0 40"'
xdotool mousemove --window "$window" 60 80 click 3
menu_open >/dev/null
xdotool key t
check "\"Always on top\" in the menu sets _NET_WM_STATE_ABOVE" 'wait_for_output "windows above" 1 above'
close_clock >/dev/null
check "always on top survives a restart" 'start_clock && wait_for_frame && wait_for_output "windows above" 1 above'

exec_of() { sed -n 's/^Exec=//p' "$autostart"; }
xdotool mousemove --window "$window" 60 80 click 3
menu_open >/dev/null
xdotool key Down Down Down Down Down Return
check "\"Start at login\" makes an autostart entry that desktop-file-validate passes" \
  'menu_closed && [ -f "$autostart" ] && desktop-file-validate "$autostart"'
check "the entry starts this very program" '[ "$(exec_of)" = "\"$build/app/horavel\"" ]'
xdotool mousemove --window "$window" 60 80 click 3
menu_open >/dev/null
xdotool key Down Down Down Down Down Return
check "choosing it again removes the entry and nothing else" \
  'menu_closed && [ ! -e "$autostart" ] && [ -z "$(ls -A "$HOME/.config/autostart")" ]'
close_clock >/dev/null

# A clock of a zone beside the local one: its title names the place, it shows
# what horavel-snapshot --zone draws, and it keeps its place in a settings file
# of its own, leaving the local clock's as it was.
zone_settings="$HOME/.config/Brantolm/Horavel/Zones/America/New_York/Settings.txt"
local_settings=$(saved)
read -r moment _ <<<"${moments[3]}"
pin_clock frozen "$moment" UTC
launch() {
  (cd "$work/cwd" && exec env "${clock_env[@]}" "$build/app/horavel" --zone America/New_York) &
  pid=$!
}
window_title='^Horavel .* New York$'
zone_saved() { cat "$zone_settings" 2>/dev/null; }
title_of() { xprop -id "$window" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = //p'; }
check "horavel --zone America/New_York opens a window titled \"Horavel — New York\"" \
  'open_clock && wait_for_frame && [ "$(title_of)" = "\"Horavel — New York\"" ]'
check "it shows what horavel-snapshot --zone America/New_York draws" \
  'wait_for_size 196x448 && sleep 1 && shows_snapshot "$moment" UTC 28 --zone America/New_York'
xdotool windowmove "$window" 400 200
check "moved, it saves its place in a settings file of its own" \
  'wait_for_place "400 200" && wait_for_output "the zone'"'"'s settings file holds" "400 200 28" zone_saved'
check "the local clock's settings stay as they were" '[ "$(saved)" = "$local_settings" ]'
close_clock >/dev/null
check "the zone's clock reopens where it was moved" 'open_clock && wait_for_frame && wait_for_place "400 200"'
# The menu's "Time zone" opens the choice of zones in its place; a zone typed
# there and Enter make the window that zone's clock, which saves as its own.
xdotool key --window "$window" shift+F10
menu_open >/dev/null
xdotool key End Up Up Return
sleep 0.5
xdotool type --delay 20 Asia/Tokyo
xdotool key Return
check "the menu's \"Time zone\" takes a typed Asia/Tokyo: the window becomes Tokyo's clock" \
  'menu_closed && wait_for_output "the title" "\"Horavel — Tokyo\"" title_of'
close_clock >/dev/null
check "closed, Tokyo's clock keeps its place in Tokyo's settings file" \
  '[ "$(cat "$HOME/.config/Brantolm/Horavel/Zones/Asia/Tokyo/Settings.txt" 2>/dev/null)" = "400 200 28" ]'

finish
