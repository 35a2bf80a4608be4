#!/usr/bin/env bash
# The clock follows the system's time zone without a restart, on both builds
# under a virtual X display. Started with TZ unset at a pinned moment, in a
# mount namespace of its own whose /etc/localtime is Asia/Tokyo's zone file, it
# shows Tokyo's time; once America/New_York's file is bound over /etc/localtime
# (another file there, as when the system's zone is set and the link replaced),
# within 3 s it shows New York's time, a day earlier, as horavel-snapshot draws
# it: the Linux clock, standing still, in every pixel; the Windows clock under
# Wine in its calendar. A TZ in the environment still wins over a changed
# /etc/localtime. Mounting needs root: run by another user, the script runs
# itself again through sudo.
set -uo pipefail
cd "$(dirname "$0")/../.."
if [ "$(id -u)" != 0 ]; then
  exec sudo HORAVEL_LINUX_BUILD="$(realpath -m "${HORAVEL_LINUX_BUILD:-build/linux}")" \
    HORAVEL_WINDOWS_BUILD="$(realpath -m "${HORAVEL_WINDOWS_BUILD:-build/windows}")" bash "$0"
fi
# Wine's server and its programs time their waits on one monotonic clock, which
# stays real whatever fakes the wall clock (see window-windows.sh).
export FAKETIME_DONT_FAKE_MONOTONIC=1

e2e_name=time-zone
e2e_seconds=300
source tests/e2e/lib/built-programs.sh
windows_build=$(realpath -m "${HORAVEL_WINDOWS_BUILD:-build/windows}")
require_built "$windows_build" app/horavel.exe tools/snapshot/horavel-snapshot.exe
source tests/e2e/lib/linux-display.sh
source tests/e2e/lib/window-session.sh

# 03:45:50 UTC on 24 December 2026: 12:45:50 on the 24th in Tokyo, 22:45:50 on
# the 23rd in New York, so the calendar's today moves too.
read -r moment _ <<<"${moments[3]}"
zones=/usr/share/zoneinfo

# The clock starts in a mount namespace of its own with Tokyo's zone file over
# /etc/localtime; the command's words come after "exec env clock_env".
launch_under_tokyo() {
  (cd "$work/cwd" && exec unshare -m sh -c 'mount --bind "$0" /etc/localtime && exec "$@"' \
    "$zones/Asia/Tokyo" env "${clock_env[@]}" "$@") &
  pid=$!
}
# Puts ZONE's file over /etc/localtime in the clock's namespace: another file
# there, as after the system's zone is set.
set_system_zone() { nsenter -t "$pid" -m mount --bind "$zones/$1" /etc/localtime; }

# The part of a picture that a geometry (WxH+X+Y) crops, as binary PPM.
part_of() { convert "$1" -crop "$2" +repage -depth 8 "ppm:$3"; }
# Waits up to 3 s for that part of the client area to show the picture.
shows_within_3s() {  # PPM GEOMETRY
  local deadline=$((${EPOCHREALTIME//[.,]/} + 3000000))
  until shot "$work/window.ppm" && part_of "$work/window.ppm" "$2" "$work/part.ppm" && cmp -s "$work/part.ppm" "$1"; do
    if [ "${EPOCHREALTIME//[.,]/}" -gt "$deadline" ]; then
      echo "  $(look compare "$work/part.ppm" "$1")"
      return 1
    fi
    sleep 0.1
  done
}

# With TZ unset and its clock pinned (frozen or running) to the moment, the
# clock shows Tokyo's time, then New York's within 3 s of the system's zone
# changing, in the part of the window the geometry crops, which shows WHAT.
check_zone_followed() {  # BUILD frozen|running GEOMETRY WHAT
  local zone part=$3 shown=$4
  for zone in Asia/Tokyo America/New_York; do
    draw_snapshot "$zone" "$moment" 28 "$work/${zone#*/}.png" &&
      part_of "$work/${zone#*/}.png" "$part" "$work/${zone#*/}.ppm" || fail "$1: horavel-snapshot draws $zone"
  done
  pin_clock "$2" "$moment" UTC && unset 'clock_env[-1]'  # its last word sets TZ
  clock_env=(-u TZ "${clock_env[@]}")
  rm -f "$settings"
  if ! open_clock; then
    fail "$1: the clock starts with TZ unset"
    return
  fi
  check "$1: with TZ unset, the clock started under Asia/Tokyo shows Tokyo's $shown" \
    'wait_for_size 196x448 && sleep 1 && shows_within_3s "$work/Tokyo.ppm" "$part"'
  set_system_zone America/New_York
  check "$1: within 3 s of the system's zone becoming America/New_York it shows New York's $shown" \
    'shows_within_3s "$work/New_York.ppm" "$part"'
  close_clock >/dev/null
}

clock_program=$build/app/horavel
launch() { launch_under_tokyo "$clock_program"; }
draw_snapshot() {
  (cd "$work/cwd" && TZ=$1 "$build/tools/snapshot/horavel-snapshot" --at "$2" --unit "$3" --out "$4" "${@:5}" 2>/dev/null)
}
check_zone_followed Linux frozen 196x448+0+0 "time, date and calendar"

rm -f "$settings"
if start_clock frozen "$moment" Europe/Berlin; then
  check "Linux: TZ=Europe/Berlin still wins when the system's zone changes from Tokyo to New York" \
    'wait_for_size 196x448 && shows_snapshot "$moment" Europe/Berlin 28 && set_system_zone America/New_York &&
     sleep 3 && shot "$work/window.ppm" && cmp -s "$work/window.ppm" "$work/reference.ppm"'
  close_clock >/dev/null
else
  fail "Linux: the clock starts with TZ=Europe/Berlin"
fi

# The Windows build under Wine, in a copy of the build's prefix. Wine gives its
# programs the zone of the Unix process they run in, but works its offset out
# again only in a new second: the clock runs from the moment, and the calendar,
# which shows only the date, is compared.
[ -f "$windows_build/wineprefix/.horavel-ready-2" ] || "$windows_build/wine-run" cmd /c exit >/dev/null 2>&1
# Wine runs only in a prefix its user owns; run through sudo, the copy is root's.
cp -a "$windows_build/wineprefix" "$work/prefix" && chown -R root: "$work/prefix"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
wineserver -p30 </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
settings=$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -1)/Brantolm/Horavel/Settings.txt
clock_program=$windows_build/app/horavel.exe
launch() { launch_under_tokyo wine "$clock_program" </dev/null >/dev/null 2>&1; }
draw_snapshot() {
  (cd "$work/cwd" && TZ=$1 wine "$windows_build/tools/snapshot/horavel-snapshot.exe" --at "$2" --unit "$3" \
    --out "$(winepath -w "$4" 2>/dev/null)" "${@:5}" </dev/null >/dev/null 2>&1)
}
check_zone_followed Windows running 196x224+0+224 calendar
wineserver -k

finish
