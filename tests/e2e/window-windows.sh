#!/usr/bin/env bash
# The Windows clock program under Wine on a virtual X display: at four pinned
# moments the window shows exactly what the Windows horavel-snapshot draws for
# them; then the first window, its ticking, the S, M and L keys, the settings
# saved on closing and read on the next start, damaged settings files, the
# command line's answers on the streams, a console and in a message box, the
# menu, "About Horavel" in a message box while the clock ticks, a clock of a
# zone (its title, its picture and its own settings file), the unit at 144 DPI,
# and last border drags held to the 7:16 grid (in a Wine virtual desktop, which
# draws the frame).
# Runs in its own copy of the build's Wine prefix. Without a window
# manager Wine draws no frame: the X window is the client area, offset by the
# frame Windows reserves for it.
set -uo pipefail
cd "$(dirname "$0")/../.."
# Wine's server and its programs time their waits on one monotonic clock. Under
# faketime each process would fake its own, from its own start, and the programs
# would wait for moments the server never reaches: whatever fakes the wall clock,
# the monotonic clock stays real.
export FAKETIME_DONT_FAKE_MONOTONIC=1

if [ "${HORAVEL_E2E_INNER:-}" != 1 ]; then
  e2e_name=window-windows
  source tests/e2e/lib/built-programs.sh
  build=${HORAVEL_WINDOWS_BUILD:-build/windows}
  require_built "$build" app/horavel.exe tools/snapshot/horavel-snapshot.exe
  # The build's prefix is made once by its Wine wrapper; each run works in a copy.
  if [ ! -f "$build/wineprefix/.horavel-ready-2" ]; then
    "$build/wine-run" cmd /c exit >/dev/null 2>&1
  fi
  work=$(mktemp -d)
  cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
    rm -rf "$work"
  }
  trap cleanup EXIT
  cp -a "$build/wineprefix" "$work/prefix"
  HORAVEL_E2E_INNER=1 HORAVEL_E2E_WORK="$work" HORAVEL_E2E_BUILD="$(realpath "$build")" \
    timeout 400 xvfb-run -a -s '-screen 0 1024x768x24' bash "$0"
  exit $?
fi

work=$HORAVEL_E2E_WORK
build=$HORAVEL_E2E_BUILD
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
mkdir -p "$work/cwd"
wineserver -p30 </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
roaming=$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -1)
settings="$roaming/Brantolm/Horavel/Settings.txt"
e2e_name=window-windows
source tests/e2e/lib/window-session.sh

# The textures lie beside the programs, not in the current folder.
clock_program=$build/app/horavel.exe
clock_args=()
launch() {
  (cd "$work/cwd" && exec env "${clock_env[@]}" wine "$clock_program" "${clock_args[@]}" </dev/null >/dev/null 2>&1) &
  pid=$!
}
draw_snapshot() {
  (cd "$work/cwd" && TZ=$1 wine "$build/tools/snapshot/horavel-snapshot.exe" --at "$2" --unit "$3" \
    --out "$(winepath -w "$4" 2>/dev/null)" "${@:5}" </dev/null >/dev/null 2>&1)
}
saved() { tr -d '\r' 2>/dev/null <"$settings"; }

# Ends Wine's server, which reads the resolution and the desktop only when it
# starts, starts it again and waits for Wine's own start-up in it, as at the top.
restart_wine() {
  wineserver -k
  wineserver -w
  wineserver -p30 </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}
# The first start after a restart. In clean runs on a busy machine such a start
# twice had no titled window after a minute (the program still running), where
# every start here takes under two seconds: a second start tells Wine's fresh
# start-up apart from a clock that never opens, and is said when it was needed.
start_after_restart() {
  start_clock && return 0
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  echo "  starting the clock a second time after Wine's restart"
  start_clock
}

check_pictures_at_moments
check_partial_paints

if start_clock; then pass "first start opens a window titled Horavel"; else
  fail "first start opens a window titled Horavel"; finish; fi
check "first client area is 196 x 448" 'wait_for_size 196x448'
# The outer window stands at (0, 0); the client area lies inside its frame.
frame=$(geometry | cut -d+ -f2-)
frameLeft=${frame%+*}
frameTop=${frame#*+}
check_ticking_and_keys

xdotool windowmove "$window" 37 53
sleep 0.3
check "closing ends the program with code 0" 'close_clock'
check "closing saves the outer position and the unit" '[ "$(saved)" = "$((37 - frameLeft)) $((53 - frameTop)) 20" ]'
check "the settings line ends in CR LF" '[ "$(tail -c 2 "$settings" | od -An -tx1 | tr -d " ")" = 0d0a ]'

check "a restart opens with the saved unit and position" 'start_clock && wait_for_size 140x320+37+53'
close_clock >/dev/null

check_damaged_settings '\r\n' "$frameLeft" "$frameTop"

# Without a display neither the window nor a message box can be shown: the
# message goes to standard error.
check_without_display '\r\n' "Horavel: The window could not be opened." wine "$clock_program"

# The command line is answered before any window is made. Wine hands a program
# started from a shell that shell's streams: --version and --help write there
# with 0, without a display too, and an unknown option is refused on standard
# error with 2. On a terminal Wine gives the program a console, which the text
# reaches; with no stream to write to, it shows in a message box, closed by
# Return.
answer() {  # ARGUMENTS...
  (cd "$work/cwd" && exec env -u DISPLAY timeout 60 wine "$clock_program" "$@" \
    </dev/null >"$work/answer.out" 2>"$work/answer.err")
  answered=$?
}
check_command_line
# script gives the program a terminal; its output comes back with the
# console's cursor sequences and CR LF line ends.
console=$(cd "$work/cwd" && timeout 60 script -qec "wine '$clock_program' --version" /dev/null </dev/null |
  tr -d '\r' | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g')
check "on a terminal --version reaches the console" 'grep -qx "horavel $version" <<<"$console"'
# Prints the size of the message box of an answer given with no stream open,
# "WIDTH HEIGHT", once Return has closed it and the program ended with 0.
box_size() {  # ARGUMENT
  (cd "$work/cwd" && exec wine "$clock_program" "$1" </dev/null >&- 2>&-) &
  local box_pid=$! box size
  box=$(timeout 30 xdotool search --sync --name '^Horavel$' 2>/dev/null | head -1)
  size=$(xwininfo -id "$box" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
  xdotool key --window "$box" Return 2>/dev/null
  for _ in $(seq 100); do
    kill -0 $box_pid 2>/dev/null || break
    sleep 0.1
  done
  kill $box_pid 2>/dev/null
  wait $box_pid && echo "$size"
}
read -r versionWidth versionHeight <<<"$(box_size --version)"
read -r helpWidth helpHeight <<<"$(box_size --help)"
check "with no stream open the answer shows in a message box that Return closes, with 0; the usage's box is the larger (${versionWidth:-none} x ${versionHeight:-none}, ${helpWidth:-none} x ${helpHeight:-none})" \
  '[ -n "$versionWidth" ] && [ -n "$helpWidth" ] && [ "$helpWidth" -gt "$versionWidth" ] && [ "$helpHeight" -gt "$versionHeight" ]'

# The session ends, as at logoff or shutdown: the unit chosen and a place the
# clock has not saved yet (a move without a drag, which ends in no
# WM_EXITSIZEMOVE) are kept.
rm -f "$settings"
if start_clock; then
  xdotool key --window "$window" l 2>/dev/null
  wait_for_size 280x640
  xdotool windowmove "$window" 37 53
  sleep 0.3
  wine wineboot --end-session </dev/null >/dev/null 2>&1
  check "wineboot --end-session ends the clock, which keeps its unit 40 and its place" \
    'wait_for_end "the session ended" && [ "$(saved)" = "$((37 - frameLeft)) $((53 - frameTop)) 40" ]'
else
  fail "the clock starts before the session ends"
fi

# The menu: a right-click in the client area opens Windows's own popup menu
# over the clock (the clock's time stands still, so only the menu changes what
# the screen shows), and Escape closes it again.
rm -f "$settings"
read -r moment zone <<<"${moments[0]}"
if start_clock frozen "$moment" "$zone" && wait_for_size 196x448; then
  sleep 1
  import -window root -depth 8 "ppm:$work/before-menu.ppm" 2>/dev/null
  xdotool mousemove --window "$window" 60 60 click 3
  sleep 1
  import -window root -depth 8 "ppm:$work/menu.ppm" 2>/dev/null
  check "a right-click opens the menu over the clock" 'look differs "$work/before-menu.ppm" "$work/menu.ppm"'
  xdotool key Escape
  sleep 1
  import -window root -depth 8 "ppm:$work/after-menu.ppm" 2>/dev/null
  check "Escape closes it and changes nothing" \
    'cmp -s "$work/before-menu.ppm" "$work/after-menu.ppm" && [ ! -e "$settings" ]'

  # "Start at login", the fifth item, chosen by keyboard: a shortcut to this
  # very program in the Startup folder; chosen again, it is gone.
  startup=$(find "$roaming/Microsoft/Windows/Start Menu/Programs" -maxdepth 1 -iname startup | head -1)
  choose_start_at_login() {
    xdotool mousemove --window "$window" 60 60 click 3
    sleep 1
    xdotool key Down Down Down Down Down Return
    sleep 1
  }
  choose_start_at_login
  shortcut=$(find "$roaming/Microsoft/Windows/Start Menu/Programs" -iname 'Horavel.lnk' | head -1)
  check "Start at login puts Horavel.lnk in the prefix's Startup folder" \
    '[ -n "$shortcut" ] && [ "$(dirname "$shortcut")" = "$startup" ]'
  check "whose target is the clock's exe" \
    '{ iconv -f utf-16le -t utf-8 <"$shortcut" 2>/dev/null; cat "$shortcut"; } | grep -aqi "horavel\.exe"'
  choose_start_at_login
  check "choosing it again removes the shortcut" '[ -z "$(find "$startup" -iname Horavel.lnk)" ]'

  # Always on top, by the key T: saved with the place and the unit, and on the
  # next start Wine's X window carries _NET_WM_STATE_ABOVE.
  xdotool key --window "$window" t 2>/dev/null
  check "T keeps the window on top, saved as a fifth field" 'wait_for_saved "0 0 28 96 1"'
  close_clock >/dev/null
  if start_clock frozen "$moment" "$zone"; then
    check "on top survives a restart: _NET_WM_STATE_ABOVE on Wine's X window" \
      'wait_for_output "the window state" yes sh -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && echo yes"'
    close_clock >/dev/null
  else
    fail "the clock starts again on top"
  fi
else
  fail "the clock starts for its menu"
fi
rm -f "$settings"

# "About Horavel", the item above Close, in Windows's message box: the clock's
# timer goes on while it is open, and Enter ends it.
about_boxes() { xdotool search --onlyvisible --name '^About Horavel$' 2>/dev/null | wc -l; }
if start_clock running "$moment" "$zone" && wait_for_size 196x448; then
  xdotool mousemove --window "$window" 60 60 click 3
  sleep 1
  xdotool key End Up Return
  check "\"About Horavel\" shows in a message box" 'wait_for_output "About boxes" 1 about_boxes'
  shot "$work/a.ppm"
  sleep 1.5
  shot "$work/b.ppm"
  check "the clock ticks while the box is open" 'look differs "$work/a.ppm" "$work/b.ppm"'
  xdotool key Return
  check "Enter ends the box" 'wait_for_output "About boxes" 0 about_boxes'
  close_clock >/dev/null
else
  fail "the clock starts for About"
fi
rm -f "$settings"

# A clock of a zone: its title names the place, it shows what
# horavel-snapshot.exe --zone draws from the zone files the build carries, and
# it keeps its settings apart from the local clock's.
read -r moment _ <<<"${moments[3]}"
pin_clock frozen "$moment" UTC
clock_args=(--zone America/New_York)
window_title='^Horavel .* New York$'
local_settings=$(saved)
check "horavel.exe --zone America/New_York opens a window titled for New York" 'open_clock'
check "it shows what horavel-snapshot.exe --zone America/New_York draws" \
  'wait_for_size 196x448 && sleep 1 && shows_snapshot "$moment" UTC 28 --zone America/New_York'
check "closed, it saves its settings in a file of its own, the local clock's left as they were" \
  'close_clock && [ -f "$roaming/Brantolm/Horavel/Zones/America/New_York/Settings.txt" ] && [ "$(saved)" = "$local_settings" ]'
clock_args=()
window_title='^Horavel$'
rm -f "$settings"

# At 150 % (144 DPI) the clock keeps the physical sizes it has at 100 %: a
# first start is 294 x 672 (U = 42), S gives U = 30, and the file keeps the
# resolution beside the unit. Wine reads the resolution when its server starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
restart_wine
rm -f "$settings"
check "at 144 DPI the first start is 294 x 672" 'start_after_restart && wait_for_size 294x672'
xdotool key --window "$window" s 2>/dev/null
check "at 144 DPI key S gives 210 x 480, saved with the resolution" \
  'wait_for_size 210x480 && wait_for_saved "0 0 30 144"'
close_clock >/dev/null
check "at 144 DPI the saved unit comes back" 'start_clock && wait_for_size 210x480'
close_clock >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1

# Border drags need a frame that Wine draws itself: a Wine virtual desktop.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
# The desktop is read when the server starts.
restart_wine

# Prints the outer window's size, "WIDTH HEIGHT".
outer_size() { xwininfo -id "$window" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'; }
drag() {  # from x y, to x y
  xdotool mousemove "$1" "$2"; sleep 0.2
  xdotool mousedown 1; sleep 0.2
  xdotool mousemove "$(( ($1 + $3) / 2 ))" "$(( ($2 + $4) / 2 ))"; sleep 0.3
  xdotool mousemove "$3" "$4"; sleep 0.3
  xdotool mouseup 1; sleep 1
}
close_with_keys() {
  xdotool key alt+F4
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  return 1
}

rm -f "$settings"
if start_after_restart; then
  sleep 1
  read -r outerWidth outerHeight <<< "$(outer_size)"
  frameWidth=$((outerWidth - 196))
  frameHeight=$((outerHeight - 448))
  # The right border, dragged to a client width of 150: the height follows, 16 × 21.
  drag $((outerWidth - 2)) 300 $((outerWidth - 2 - 46)) 300
  check "dragging the right border to 150 wide sets the unit to 21" 'close_with_keys && [ "$(saved)" = "0 0 21" ]'
  # The bottom-right corner, dragged to a client height of 500: the unit 31.
  start_clock && sleep 1
  read -r outerWidth outerHeight <<< "$(outer_size)"
  drag $((outerWidth - 2)) $((outerHeight - 2)) $((outerWidth + 40)) $((frameHeight + 500 - 2))
  check "dragging a corner to 500 high gives 217 x 500 and the unit 31" '[ "$(outer_size)" = "$((frameWidth + 217)) $((frameHeight + 500))" ] && close_with_keys && [ "$(saved)" = "0 0 31" ]'
else
  fail "the clock starts in a Wine virtual desktop"
fi

finish
