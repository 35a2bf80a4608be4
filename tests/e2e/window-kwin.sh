#!/usr/bin/env bash
# The Linux clock program as a Wayland client of KWin 5.27, headless, with no X
# display. At scale 1, at four pinned moments the client area shows exactly
# what horavel-snapshot draws. At the fractional scales 1.5 and 1.25, which
# KWin states through wp_fractional_scale_v1, the window is drawn in the
# output's own pixels, sharp: the snapshot's picture at U = 42 and U = 35 (the
# first start's 28 logical pixels at that scale). "About Horavel" from the menu
# is a window of its own while the clock ticks on. KWin offers layer surfaces,
# so the menu's "On the desktop" lays the clock in a corner of the output.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-kwin
source tests/e2e/lib/wayland-start.sh
source tests/e2e/lib/desktop-session.sh

# The pointer waits at the right edge, away from the clock and its menu.
park_pointer() { point_at 1279 400; }

# ---- Scale 1 ---------------------------------------------------------------
start_kwin 1 && park_pointer || { echo "FAIL window-kwin: headless KWin did not start"; exit 1; }
check "at scale 1 and four pinned moments, the client area shows the snapshot's picture at U = 28" \
  'shows_snapshot_at_four_moments 28'

# "About Horavel" from the menu (nine steps down on this desktop): a window of
# its own, over a clock that goes on ticking. KWin centres it on the clock, so
# a KWin script moves it aside first.
about_windows() {
  cat >"$work/about.js" <<'JS'
var clients = workspace.clientList();
for (var i = 0; i < clients.length; i++) {
  if (clients[i].caption == "About Horavel") {
    var frame = clients[i].frameGeometry;
    clients[i].frameGeometry = {x: 760, y: 500, width: frame.width, height: frame.height};
  }
}
JS
  chmod a+r "$work/about.js"
  kwin_scripting loadScript "$work/about.js" && kwin_scripting start && sleep 0.5 &&
    kwin_scripting unloadScript "$work/about.js" &&
    desktop_shot "$work/about.ppm" && ! cmp -s "$work/about.ppm" "$work/before-about.ppm"
}
kwin_scripting() {  # METHOD [ARGUMENT]
  ( as_desktop_user gdbus call --session --dest org.kde.KWin --object-path /Scripting \
      --method "org.kde.kwin.Scripting.$1" "${@:2}" ) >/dev/null 2>&1
}
read -r moment zone <<<"${moments[1]}"
rm -f "$settings"
start_clock running "$moment" "$zone"
sleep 2
desktop_shot "$work/before-about.ppm"
open_menu_by_keys
sleep 0.5
press_keys $key_down $key_down $key_down $key_down $key_down $key_down $key_down $key_down $key_down $key_enter
check "\"About Horavel\" opens a window of its own" 'sleep 1 && about_windows'
# Two screenshots 1.5 s apart differ; a screenshot the desktop could not take
# is taken again.
ticks() { desktop_shot "$work/a.ppm" && sleep 1.5 && desktop_shot "$work/b.ppm" && wayland_look changed "$work/a.ppm" "$work/b.ppm" >/dev/null; }
check "the clock ticks while About is open" 'retry_for_5s ticks'
press_keys $key_enter
# Where About was moved to shows the desktop again.
where_about_was() { convert "$1" -crop 200x100+770+520 +repage -depth 8 "ppm:$2"; }
about_gone() {
  desktop_shot "$work/after.ppm" && where_about_was "$work/after.ppm" "$work/after-part.ppm" &&
    where_about_was "$work/before-about.ppm" "$work/before-part.ppm" && cmp -s "$work/after-part.ppm" "$work/before-part.ppm"
}
check "Enter ends About" 'retry_for_5s about_gone'
end_clock

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
