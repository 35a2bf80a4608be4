#!/usr/bin/env bash
# The Linux clock program as a Wayland client of GNOME Shell 43, headless, with
# no X display. At four pinned moments the client area shows exactly what
# horavel-snapshot draws. GNOME offers no server-side decorations and no layer
# surfaces: the clock has a frame of its own (libdecor's, a title bar above the
# client area), its menu opens at the client area's corner and offers no "On
# the desktop", and "About Horavel" is a window of its own.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-gnome
source tests/e2e/lib/wayland-start.sh
source tests/e2e/lib/desktop-session.sh

start_gnome || { echo "FAIL window-gnome: headless GNOME Shell did not start"; exit 1; }
# The pointer waits at the right edge, away from the clock, its menu and the
# top-left corner, where it would open the overview.
point_at 1279 400

check "at four pinned moments, the client area shows the snapshot's picture at U = 28" \
  'shows_snapshot_at_four_moments 28'

read -r moment zone <<<"${moments[1]}"
draw_reference "$zone" "$moment" 28 "$work/reference.ppm"
rm -f "$settings"
start_clock frozen "$moment" "$zone"
place=$(found_on_output | head -1)

# The row right above the client area is the clock's own title bar, grey,
# not the blue desktop behind it.
title_bar() {
  local x y grey
  read -r x y <<<"$place"
  [ -n "$place" ] && [ "$y" -ge 1 ] && grey=$(wayland_look grey "$work/output.ppm" $((y - 1)) "$x" 196)
  echo "  the row above the client area at ${place:-nowhere} is ${grey:-no} per cent grey"
  [ "${grey:-0}" -ge 90 ]
}
check "the clock draws its own frame: a grey title bar right above the client area" 'title_bar'

# The menu by Shift+F10: the snapshot's menu without its "Always on top" row,
# which no Wayland menu has, and with no "On the desktop" after "Start at
# login" either, where a desktop with layer surfaces has it: what lies below
# that row follows right below the three sizes.
menu_pieces_together() {  # PLACES (of the top piece)
  local x y
  read -r x y <<<"$1"
  desktop_shot "$work/menu-shot.ppm" &&
    wayland_look find "$work/menu-shot.ppm" "$work/menu-bottom.ppm" | grep -qx "$x $((y + 76))"
}
draw_menu_pieces
open_menu_by_keys
menu=$(found_on_output "$work/menu-top.ppm" menu_pieces_together)
check "the menu offers the sizes, \"Start at login\", \"About Horavel\" and \"Close\", no \"On the desktop\" (at ${menu:-nowhere})" \
  '[ -n "$menu" ]'
# From the keyboard it opens at the client area's corner, below the title bar
# libdecor draws.
check "the menu opens at the client area's corner (${place:-nowhere})" '[ -n "$menu" ] && [ "$menu" = "$place" ]'
press_keys $key_escape

# "About Horavel" from the menu (eight steps down on this desktop): a window of
# its own, framed by libdecor, while the clock ticks on. The message opens
# over the clock and is moved aside to look at it.
about_windows() {
  gnome_eval 'global.get_window_actors().filter(a => a.meta_window.get_title() == "About Horavel").length'
}
end_clock
start_clock running "$moment" "$zone"
sleep 3
open_menu_by_keys
sleep 0.5
press_keys $key_down $key_down $key_down $key_down $key_down $key_down $key_down $key_down $key_enter
check "\"About Horavel\" opens a window of its own" 'wait_for_output "About windows" 1 about_windows'
gnome_eval 'global.get_window_actors().map(a => a.meta_window).filter(w => w.get_title() == "About Horavel")
  .forEach(w => w.move_frame(true, 700, 500)); true' >/dev/null
sleep 0.5
# Two screenshots 1.5 s apart differ; a screenshot the desktop could not take
# is taken again.
ticks() { desktop_shot "$work/a.ppm" && sleep 1.5 && desktop_shot "$work/b.ppm" && wayland_look changed "$work/a.ppm" "$work/b.ppm" >/dev/null; }
check "the clock ticks while About is open" 'retry_for_5s ticks'
press_keys $key_enter
check "Enter ends About" 'wait_for_output "About windows" 0 about_windows'

end_clock
stop_desktop
finish
