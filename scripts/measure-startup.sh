#!/usr/bin/env bash
# How long the clock takes from exec to its first painted frame (the window
# shows something other than its black background), each start without
# settings on an X server of its own; the median of several starts. The first
# start decodes the maps and keeps them in the cache folder, as a clock's first
# start does; it is shown apart and the later ones, which read the kept maps,
# make the median. For the Windows build under Wine, also Wine's own start-up:
# a program that only prints its version and ends. For `wayland`, the Linux
# clock under headless sway, from exec to the moment sway maps its window,
# which it does with the first buffer the clock commits, a painted frame (sway
# runs as an ordinary user, created when the script runs as root). Usage:
#   scripts/measure-startup.sh [linux|windows|wayland|both|all] [starts]
# (default: both 7; both is linux and windows, all adds wayland).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/measure-common.sh
starts=${2:-7}
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/first-frame" tests/e2e/lib/first-frame.c -lX11

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

if [ "${HORAVEL_MEASURE_INNER:-}" = 1 ]; then
  for _ in $(seq "$starts"); do
    rm -rf "$work/home" && mkdir -p "$work/home"
    if [ "$HORAVEL_MEASURE_KIND" = linux ]; then
      (cd "$work" && HOME="$work/home" XDG_CONFIG_HOME= XDG_CACHE_HOME="$work/cache" \
        "$work/first-frame" "$linux_program")
      pkill -TERM -f "^$linux_program\$" || true
    else
      (cd "$work" && "$work/first-frame" wine "$windows_build/app/horavel.exe")
      pkill -f 'horavel\.exe' || true
    fi
    sleep 0.5
  done
  if [ "$HORAVEL_MEASURE_KIND" = windows ]; then
    for _ in $(seq "$starts"); do
      start=$EPOCHREALTIME
      wine "$windows_build/tools/snapshot/horavel-snapshot.exe" --version >/dev/null 2>&1
      awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "empty %.0f\n", (b - a) * 1000 }'
    done
  fi
  exit 0
fi

wanted() {  # linux|windows|wayland
  [ "$which" = "$1" ] || { [ "$which" = both ] && [ "$1" != wayland ]; } || [ "$which" = all ]
}

if wanted linux; then
  HORAVEL_MEASURE_INNER=1 HORAVEL_MEASURE_KIND=linux xvfb-run -a -s '-screen 0 1024x768x24' \
    bash "$0" "$which" "$((starts + 1))" >"$work/linux.txt"
  ms=$(tail -n +2 "$work/linux.txt" | median)
  echo "Linux: first painted frame $ms ms after exec (median of $starts starts);" \
       "the first start, which decodes the maps and keeps them: $(head -n 1 "$work/linux.txt") ms"
fi
if wanted wayland; then
  source tests/e2e/lib/wayland-session.sh
  trap 'stop_compositor; rm -rf "$work"' EXIT
  # A copy of the program and its maps that sway's user can read.
  mkdir -p "$work/program"
  cp "$linux_program" "$(dirname "$linux_program")"/{Earth,Moon}.png "$work/program/"
  wayland_prepare
  start_sway 1
  for _ in $(seq "$((starts + 1))"); do
    # No settings; the maps' cache in the home folder is kept from the first start.
    rm -rf "$work/home/.config"
    # sway answers a subscription to ticks with one at once: then it listens.
    coproc events { exec swaymsg -r -m -t subscribe '["window", "tick"]'; }
    read -r -u "${events[0]}" _
    start=$EPOCHREALTIME
    (cd "$work/program" && as_wayland_user ./horavel) &
    clock=$!
    while read -r -u "${events[0]}" line; do
      case $line in *'"change": "new"'* | *'"change":"new"'*) break ;; esac
    done
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f\n", (b - a) * 1000 }' >>"$work/wayland.txt"
    kill "$events_PID" "$clock"
    wait "$clock" || true
    sleep 0.5
  done
  ms=$(tail -n +2 "$work/wayland.txt" | median)
  echo "Wayland (sway): window mapped with its first frame $ms ms after exec (median of $starts starts);" \
       "the first start, which decodes the maps and keeps them: $(head -n 1 "$work/wayland.txt") ms"
  stop_compositor
fi
if wanted windows; then
  [ -f "$windows_build/wineprefix/.horavel-ready-2" ] || "$windows_build/wine-run" cmd /c exit >/dev/null 2>&1
  cp -a "$windows_build/wineprefix" "$work/prefix"
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
  # A running server, as on a desktop where Wine is in use; the first start on a
  # display, which starts Wine's desktop process, is not counted.
  wineserver -p30 </dev/null >/dev/null 2>&1
  HORAVEL_MEASURE_INNER=1 HORAVEL_MEASURE_KIND=windows xvfb-run -a -s '-screen 0 1024x768x24' \
    bash "$0" "$which" "$((starts + 1))" >"$work/windows.txt"
  ms=$(grep -v empty "$work/windows.txt" | tail -n +2 | median)
  empty=$(grep empty "$work/windows.txt" | awk '{ print $2 }' | median)
  echo "Windows under Wine: first painted frame $ms ms after exec; Wine's own start of a program that only prints its version: $empty ms (medians of $starts)"
  echo "  (the start not counted, the first on the display, also decoded the maps and kept them in the prefix)"
  wineserver -k
fi
