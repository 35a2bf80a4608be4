#!/usr/bin/env bash
# The Linux clock program as a Wayland client of KWin 5.27, headless, with no X
# display. At scale 1, at four pinned moments the client area shows exactly
# what horavel-snapshot draws. At the fractional scales 1.5 and 1.25, which
# KWin states through wp_fractional_scale_v1, the window is drawn in the
# output's own pixels, sharp: the snapshot's picture at U = 42 and U = 35 (the
# first start's 28 logical pixels at that scale). KWin offers layer surfaces,
# so the menu's "On the desktop" lays the clock in a corner of the output.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-kwin
source tests/e2e/lib/wayland-start.sh
source tests/e2e/lib/desktop-session.sh
trap 'end_clock; stop_desktop; rm -rf "$work"' EXIT

# The pointer waits at the right edge, away from the clock and its menu.
park_pointer() { point_at 1279 400; }

# ---- Scale 1 ---------------------------------------------------------------
start_kwin 1 && park_pointer || { echo "FAIL window-kwin: headless KWin did not start"; exit 1; }
check "at scale 1 and four pinned moments, the client area shows the snapshot's picture at U = 28" \
  'shows_snapshot_at_four_moments 28'

# On the desktop: Shift+F10 opens the menu at the client area's corner; five
# steps down (Small, Medium, Large, Start at login, On the desktop) and Return
# choose "On the desktop". The clock then lies in a corner of the 1280 x 800
# output, 28 pixels from its edges.
at_corner() { case "$1" in "28 28" | "1056 28" | "28 324" | "1056 324") true ;; *) false ;; esac; }
draw_menu_pieces
read -r moment zone <<<"${moments[0]}"
draw_reference "$zone" "$moment" 28 "$work/reference.ppm"
rm -f "$settings"
start_clock frozen "$moment" "$zone"
window=$(found_on_output)
open_menu_by_keys
menu=$(found_on_output "$work/menu-top.ppm")
press_keys $key_down $key_down $key_down $key_down $key_down $key_enter
place=$(found_on_output "$work/reference.ppm" at_corner)
check "\"On the desktop\" from the menu moves the clock from its window (at ${window:-nowhere}, menu at ${menu:-none}) into a corner of the output (${place:-none})" \
  '[ -n "$window" ] && [ -n "$place" ]'

# The place kept for the "About Horavel" check, which will open the message
# from the menu (Shift+F10, six steps down on this desktop, Return) and see a
# second window while the clock goes on ticking.
about_window_check() { :; }
about_window_check

end_clock
stop_desktop

# ---- Fractional scales -----------------------------------------------------
# The clock starts at U = 28 logical pixels, drawn at U = 28 × scale in the
# output's pixels; the screenshot is in the output's pixels.
for entry in "1.5 42 294x672" "1.25 35 245x560"; do
  read -r scale unit size <<<"$entry"
  if ! start_kwin "$scale"; then
    fail "headless KWin did not start at scale $scale"
    continue
  fi
  park_pointer
  read -r moment zone <<<"${moments[2]}"
  draw_reference "$zone" "$moment" "$unit" "$work/reference.ppm"
  rm -f "$settings"
  start_clock frozen "$moment" "$zone"
  place=$(found_on_output)
  check "at scale $scale the window is $size output pixels showing the snapshot's picture at U = $unit (at ${place:-nowhere})" \
    '[ -n "$place" ]'
  end_clock
  stop_desktop
done

finish
