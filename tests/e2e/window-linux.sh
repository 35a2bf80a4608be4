#!/usr/bin/env bash
# The Linux clock program under a virtual X display: at four pinned moments the
# window shows exactly what horavel-snapshot draws for them; then the first
# window, its ticking, the S, M and L keys, snapping to the 7:16 grid, the
# settings saved on closing and read on the next start, and damaged settings
# files. Runs with its own temporary home folder.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-linux
e2e_seconds=300
source tests/e2e/lib/linux-display.sh
source tests/e2e/lib/window-session.sh

# The textures lie beside the programs, not in the current folder.
clock_program=$build/app/horavel
launch() {
  (cd "$work/cwd" && exec env "${clock_env[@]}" "$clock_program") &
  pid=$!
}
saved() { cat "$settings" 2>/dev/null; }
draw_snapshot() {
  (cd "$work/cwd" && TZ=$1 "$build/tools/snapshot/horavel-snapshot" --at "$2" --unit "$3" --out "$4" "${@:5}" 2>/dev/null)
}

check_pictures_at_moments
check_partial_paints

if start_clock; then pass "first start opens a window titled Horavel"; else
  fail "first start opens a window titled Horavel"; finish; fi
check "first client area is 196 x 448 at (0, 0)" 'wait_for_size 196x448+0+0'
check "the window carries the program's icon at 16, 32, 48, 64 and 128 pixels" \
  '[ "$(xprop -id "$window" _NET_WM_ICON | grep -o "Icon ([0-9]* x [0-9]*)" | tr "\n" " ")" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) Icon (128 x 128) " ]'
check_ticking_and_keys

xdotool windowsize "$window" 150 320
check "a width of 150 snaps the height to 336" 'wait_for_size 150x336'
xdotool windowsize "$window" 150 160
check "a height of 160 snaps the width to 70" 'wait_for_size 70x160'
xdotool key --window "$window" s 2>/dev/null
check "key S after resizing gives 140 x 320 again" 'wait_for_size 140x320'

xdotool windowmove "$window" 37 53
sleep 0.3
check "closing ends the program with code 0" 'close_clock'
check "closing saves the position and the unit" '[ "$(cat "$settings" 2>/dev/null)" = "37 53 20" ]'

check "a restart opens with the saved unit and position" 'start_clock && wait_for_size 140x320+37+53'
close_clock >/dev/null

check_damaged_settings '\n' 0 0

no_display="Horavel: neither a Wayland compositor nor an X display could be reached (are WAYLAND_DISPLAY and DISPLAY set?); horavel-snapshot draws the clock without one"
check_without_display '\n' "$no_display" "$clock_program"
check_without_display '\n' "$no_display" env WAYLAND_DISPLAY=horavel-nowhere "$clock_program"

# The command line is answered before any display is reached: --version and
# --help on standard output with 0, an unknown option in one line on standard
# error with 2.
answer() {  # ARGUMENTS...
  (cd "$work/cwd" && exec env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$clock_program" "$@" \
    </dev/null >"$work/answer.out" 2>"$work/answer.err")
  answered=$?
}
check_command_line

# A desktop scaled to 150 % says so with Xft.dpi: the clock keeps the physical
# sizes it has at 100 %, and saves the resolution beside the unit. (The server
# runs with -noreset, so the resource survives until the clock connects.)
rm -f "$settings"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi:	144'
check "with Xft.dpi 144 the first start is 294 x 672" 'start_clock && wait_for_size 294x672'
xdotool key --window "$window" s 2>/dev/null
check "with Xft.dpi 144 key S gives 210 x 480" 'wait_for_size 210x480'
check "closing saves the unit with the resolution" 'close_clock && [ "$(cat "$settings")" = "0 0 30 144" ]'
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi:	120'
check "at 120 DPI the unit saved at 144 DPI keeps its size: 175 x 400" 'start_clock && wait_for_size 175x400'
close_clock >/dev/null

# The icon is built into the program: a copy with only its maps beside it, no
# icon files, still carries it, opaque at the centre and clear in the corner.
mkdir -p "$work/bare/app"
cp "$build/app/horavel" "$build/app/Earth.png" "$build/app/Moon.png" "$work/bare/app/"
clock_program=$work/bare/app/horavel
if start_clock; then
  check "a copy without icon files beside it carries the icon at 16, 32, 48, 64 and 128 pixels" \
    '[ "$(xprop -id "$window" _NET_WM_ICON | grep -o "Icon ([0-9]* x [0-9]*)" | tr "\n" " ")" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) Icon (128 x 128) " ]'
  # The cardinals: 16, 16, then the 16 x 16 pixels as ARGB; pixel (8, 8) and (0, 0).
  icon_numbers=$(xprop -id "$window" -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/.*= //' | tr -d ' ' | tr ',' '\n')
  check "its 16-pixel picture is opaque at the centre and transparent in the corner" \
    '[ $(( $(sed -n "$((3 + 8 * 16 + 8))p" <<<"$icon_numbers") >> 24 )) -eq 255 ] && [ $(( $(sed -n 3p <<<"$icon_numbers") >> 24 )) -eq 0 ]'
  close_clock >/dev/null
else
  fail "a copy without icon files beside it opens its window"
fi

finish
