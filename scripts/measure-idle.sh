#!/usr/bin/env bash
# Measures what the running clock costs while it just ticks: its CPU time over a
# stretch of wall time (60 s by default) at the layout unit 28, and its resident
# memory, under a virtual X display. Usage:
#   scripts/measure-idle.sh [linux|windows|both] [seconds]
# The builds are ${HORAVEL_LINUX_BUILD:-build/linux} and
# ${HORAVEL_WINDOWS_BUILD:-build/windows}; the Windows program runs under Wine in
# a copy of its build's prefix. Each run gets a fresh home, so no settings file
# exists and the clock starts at 196 × 448.
set -euo pipefail
cd "$(dirname "$0")/.."

which=${1:-both}
seconds=${2:-60}

if [ "${HORAVEL_MEASURE_INNER:-}" = 1 ]; then
  work=$HORAVEL_MEASURE_WORK
  # CPU time of a process, all its threads together, in nanoseconds.
  cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%d\n", sum }'; }
  report() {  # name pid
    local name=$1 pid=$2 before after rss peak start elapsed
    before=$(cpu_ns "$pid")
    start=$EPOCHREALTIME
    sleep "$seconds"
    after=$(cpu_ns "$pid")
    elapsed=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    awk -v n="$name" -v t=$((after - before)) -v s="$elapsed" -v r="$rss" -v p="$peak" 'BEGIN {
      printf "%s: CPU %.3f %% of one core (%.1f ms in %.1f s); resident %.1f MB (peak %.1f MB)\n",
             n, 100 * t / 1e9 / s, t / 1e6, s, r / 1024, p / 1024 }'
  }
  wait_for_window() {
    timeout 60 xdotool search --sync --onlyvisible --name '^Horavel$' >/dev/null 2>&1
    sleep 5  # the start-up renders the globes twice; measure the steady ticking
  }
  if [ "$HORAVEL_MEASURE_KIND" = linux ]; then
    HOME="$work/home" XDG_CONFIG_HOME= "$HORAVEL_MEASURE_PROGRAM" &
    pid=$!
    wait_for_window
    report "Linux horavel" "$pid"
    kill "$pid"
  else
    export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    wineserver -p30 </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    wine "$HORAVEL_MEASURE_PROGRAM" </dev/null >/dev/null 2>&1 &
    pid=$!
    wait_for_window
    # The Wine server of this prefix does part of the program's work (messages,
    # timers): the one whose environment names the prefix.
    server=
    for candidate in $(pgrep -x 'wineserver(64)?' || true); do
      if tr '\0' '\n' < "/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
        server=$candidate
      fi
    done
    if [ -n "$server" ]; then
      report "Windows horavel.exe under Wine" "$pid" &
      report "  its wineserver" "$server"
      wait
    else
      report "Windows horavel.exe under Wine" "$pid"
    fi
    kill "$pid"
    wineserver -k
  fi
  exit 0
fi

measure() {  # kind program
  local work
  work=$(mktemp -d)
  mkdir -p "$work/home"
  if [ "$1" = windows ]; then
    local build=${HORAVEL_WINDOWS_BUILD:-build/windows}
    [ -f "$build/wineprefix/.horavel-ready" ] || "$build/wine-run" cmd /c exit >/dev/null 2>&1
    cp -a "$build/wineprefix" "$work/prefix"
  fi
  HORAVEL_MEASURE_INNER=1 HORAVEL_MEASURE_WORK="$work" HORAVEL_MEASURE_KIND=$1 \
    HORAVEL_MEASURE_PROGRAM="$(realpath "$2")" \
    xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$which" "$seconds" || true
  rm -rf "$work"
}

if [ "$which" = linux ] || [ "$which" = both ]; then
  measure linux "${HORAVEL_LINUX_BUILD:-build/linux}/app/horavel"
fi
if [ "$which" = windows ] || [ "$which" = both ]; then
  measure windows "${HORAVEL_WINDOWS_BUILD:-build/windows}/app/horavel.exe"
fi
