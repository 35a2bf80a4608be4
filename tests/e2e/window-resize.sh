#!/usr/bin/env bash
# A clock standing still at a pinned moment under openbox, at U = 40, resized
# by its window to U = 135 (945 x 2160) and, back at 40, to U = 56: each time
# its picture becomes exactly what horavel-snapshot draws at the new unit within
# 2 s of the resize. The bar leaves room for a busy machine; the benchmark
# timeToExact holds the figures.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=window-resize
e2e_seconds=180
e2e_screen=1200x2400x24
source tests/e2e/lib/linux-display.sh
openbox >/dev/null 2>&1 &
# openbox is ready once it names itself on the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
source tests/e2e/lib/window-session.sh

clock_program=$build/app/horavel
launch() {
  (cd "$work/cwd" && exec env "${clock_env[@]}" "$clock_program") &
  pid=$!
}
draw_snapshot() {
  (cd "$work/cwd" && TZ=$1 "$build/tools/snapshot/horavel-snapshot" --at "$2" --unit "$3" --out "$4" "${@:5}" 2>/dev/null)
}

# Milliseconds since the machine started, from the kernel's own count, which
# no faked wall clock moves or stops, to 10 ms.
uptime_ms() {
  local seconds
  read -r seconds _ </proc/uptime
  echo $((10#${seconds/./} * 10))
}

# The window resized to the unit's client area, then screenshots until one
# equals the snapshot at that unit: true when that took at most 2 s from the
# resize, the time taken said either way.
exact_after_resize() {  # UNIT
  local unit=$1 reference="$work/reference-$1.ppm" start elapsed
  draw_snapshot "$zone" "$moment" "$unit" "$work/reference.png" &&
    convert "$work/reference.png" -depth 8 "ppm:$reference" || { echo "  horavel-snapshot drew no picture"; return 1; }
  start=$(uptime_ms)
  xdotool windowsize "$window" $((7 * unit)) $((16 * unit))
  for _ in $(seq 100); do
    if shot "$work/window.ppm" && cmp -s "$work/window.ppm" "$reference"; then
      elapsed=$(($(uptime_ms) - start))
      echo "  exact after $elapsed ms"
      [ "$elapsed" -le 2000 ]
      return
    fi
  done
  echo "  $(look compare "$work/window.ppm" "$reference")"
  return 1
}

read -r moment zone <<<"${moments[2]}"
if start_clock frozen "$moment" "$zone"; then
  for unit in 135 56; do
    xdotool key --window "$window" l 2>/dev/null
    check "at U = 40 the window shows the snapshot" 'wait_for_size 280x640 && sleep 1 && shows_snapshot "$moment" "$zone" 40'
    check "resized to U = $unit, it shows the snapshot at $unit within 2 s" "exact_after_resize $unit"
  done
  close_clock >/dev/null
else
  fail "the clock starts at $moment"
fi
finish
