#!/usr/bin/env bash
# What the running clock costs while it just ticks, beside the plainest clock:
# Horavel at U = 28 and `xclock -update 1` run at the same time, each on an X
# server of its own (or, for `wayland`, the Linux clock under headless sway),
# and the CPU time of each program together with its server (and, for the
# Windows build, Wine's server) counted over the same stretch of wall time,
# from /proc/PID/task/*/schedstat in nanoseconds; then resident memory and the
# ratio to xclock. Usage:
#   scripts/measure-idle.sh [linux|windows|wayland|both|all] [seconds]
# (default: both 40; both is linux and windows, all adds wayland). sway runs as
# an ordinary user, created when the script runs as root.
# The builds are ${HORAVEL_LINUX_BUILD:-build/linux} and
# ${HORAVEL_WINDOWS_BUILD:-build/windows}; the Windows program runs under Wine in
# a copy of its build's prefix. Each clock starts without settings.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/measure-common.sh
seconds=${2:-40}
servers=()
programs=()
source tests/e2e/lib/wayland-session.sh
# The clocks end first, saving into their homes, then their servers.
cleanup() {
  for pid in "${programs[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${programs[@]}"; do wait "$pid" 2>/dev/null || true; done
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
  stop_compositor
  [ -d "$work/prefix" ] && WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# CPU time of processes, all their threads together, in nanoseconds.
cpu_ns() { for pid in "$@"; do cat /proc/"$pid"/task/*/schedstat 2>/dev/null; done | awk '{ sum += $1 } END { printf "%d\n", sum }'; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# An X server on a free display; sets display and server.
start_server() {
  local number=70
  while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  servers+=("$server")
  display=":$number"
  for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "measure-idle: Xvfb $display did not start" >&2
  exit 1
}

wait_for_window() {  # display name
  DISPLAY=$1 timeout 60 xdotool search --sync --onlyvisible --name "$2" >/dev/null 2>&1
}

# Each entry: label, the pids whose CPU counts, the pid whose memory counts.
labels=()
counted=()
resident=()

start_server
DISPLAY=$display xclock -update 1 &
programs+=($!)
wait_for_window "$display" '^xclock$'
labels+=("xclock -update 1"); counted+=("$! $server"); resident+=("$!")

wanted() {  # linux|windows|wayland
  [ "$which" = "$1" ] || { [ "$which" = both ] && [ "$1" != wayland ]; } || [ "$which" = all ]
}

if wanted linux; then
  start_server
  mkdir -p "$work/home"
  (cd "$work" && DISPLAY=$display HOME="$work/home" XDG_CONFIG_HOME= XDG_CACHE_HOME= exec "$linux_program") &
  pid=$!
  programs+=("$pid")
  wait_for_window "$display" '^Horavel$'
  labels+=("Horavel, Linux"); counted+=("$pid $server"); resident+=("$pid")
fi

if wanted wayland; then
  # A copy of the program and its maps that sway's user can read.
  mkdir -p "$work/program"
  cp "$linux_program" "$(dirname "$linux_program")"/{Earth,Moon}.png "$work/program/"
  wayland_prepare
  start_sway 1
  (cd "$work/program" && as_wayland_user ./horavel) &
  pid=$!
  programs+=("$pid")
  for _ in $(seq 600); do
    swaymsg -t get_tree | jq -e --argjson pid "$pid" 'any(.. | objects; .pid? == $pid)' >/dev/null && break
    sleep 0.1
  done
  labels+=("Horavel, Wayland (sway)"); counted+=("$pid $compositor"); resident+=("$pid")
fi

if wanted windows; then
  [ -f "$windows_build/wineprefix/.horavel-ready-2" ] || "$windows_build/wine-run" cmd /c exit >/dev/null 2>&1
  cp -a "$windows_build/wineprefix" "$work/prefix"
  start_server
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
  wineserver -p30 </dev/null >/dev/null 2>&1
  DISPLAY=$display wine wineboot </dev/null >/dev/null 2>&1
  (cd "$work" && DISPLAY=$display exec wine "$windows_build/app/horavel.exe" </dev/null >/dev/null 2>&1) &
  pid=$!
  programs+=("$pid")
  wait_for_window "$display" '^Horavel$'
  wine_server=
  for candidate in $(pgrep -x 'wineserver(64)?' || true); do
    if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      wine_server=$candidate
    fi
  done
  labels+=("Horavel, Windows under Wine"); counted+=("$pid $server $wine_server"); resident+=("$pid")
fi

# The start-ups are over; then every clock is counted over the same seconds.
sleep 5
before=()
before_program=()
for pids in "${counted[@]}"; do
  before+=("$(cpu_ns $pids)")
  before_program+=("$(cpu_ns ${pids%% *})")
done
start=$EPOCHREALTIME
sleep "$seconds"
elapsed=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')
echo "Over $elapsed s of ticking (program and its X server or compositor, and Wine's server under Wine):"
xclock_ns=
for i in "${!labels[@]}"; do
  read -r -a pids <<<"${counted[$i]}"
  used=$(( $(cpu_ns "${pids[@]}") - ${before[$i]} ))
  program_used=$(( $(cpu_ns "${pids[0]}") - ${before_program[$i]} ))
  [ -z "$xclock_ns" ] && xclock_ns=$used
  awk -v n="${labels[$i]}" -v t="$used" -v p="$program_used" -v s="$elapsed" -v r="$(rss_kb "${resident[$i]}")" -v x="$xclock_ns" 'BEGIN {
    printf "  %-28s %8.1f ms (the program %6.1f ms)  %6.3f %% of a core  %5.2f x xclock  resident %5.1f MB\n",
           n, t / 1e6, p / 1e6, 100 * t / 1e9 / s, t / x, r / 1024 }'
done
