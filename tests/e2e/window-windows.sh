#!/usr/bin/env bash
# The Windows clock program under Wine on a virtual X display: the first window,
# its pictures and their ticking, the S, M and L keys, the settings saved on
# closing and read on the next start, damaged settings files, and border drags
# held to the 7:16 grid (in a Wine virtual desktop, which draws the frame). Runs in its own
# copy of the build's Wine prefix. Without a window manager Wine draws no frame:
# the X window is the client area, offset by the frame Windows reserves for it.
set -uo pipefail
cd "$(dirname "$0")/../.."

if [ "${HORAVEL_E2E_INNER:-}" != 1 ]; then
  build=${HORAVEL_WINDOWS_BUILD:-build/windows}
  program="$build/app/horavel.exe"
  if [ ! -f "$program" ]; then
    echo "FAIL window-windows: $program has not been built"
    exit 1
  fi
  # The build's prefix is made once by its Wine wrapper; each run works in a copy.
  if [ ! -f "$build/wineprefix/.horavel-ready" ]; then
    "$build/wine-run" cmd /c exit >/dev/null 2>&1
  fi
  work=$(mktemp -d)
  cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
    rm -rf "$work"
  }
  trap cleanup EXIT
  cp -a "$build/wineprefix" "$work/prefix"
  HORAVEL_E2E_INNER=1 HORAVEL_E2E_WORK="$work" HORAVEL_E2E_PROGRAM="$(realpath "$program")" \
    timeout 170 xvfb-run -a -s '-screen 0 1024x768x24' bash "$0"
  exit $?
fi

work=$HORAVEL_E2E_WORK
program=$HORAVEL_E2E_PROGRAM
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
mkdir -p "$work/cwd"
wineserver -p30 </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
roaming=$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -1)
settings="$roaming/Brantolm/Horavel/Settings.txt"
pid=
window=
e2e_name=window-windows
source tests/e2e/lib/window-session.sh

start_clock() {
  (cd "$work/cwd" && exec wine "$program" </dev/null >/dev/null 2>&1) &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Horavel$' 2>/dev/null | head -1)
  [ -n "$window" ]
}

# First start: no settings, the textures beside the program, not in the current folder.
if start_clock; then pass "first start opens a window titled Horavel"; else
  fail "first start opens a window titled Horavel"; exit 1; fi
check "first client area is 196 x 448" 'wait_for_size 196x448'
# The outer window stands at (0, 0); the client area lies inside its frame.
frame=$(geometry | cut -d+ -f2-)
frameLeft=${frame%+*}
frameTop=${frame#*+}
check_pictures_and_keys

xdotool windowmove "$window" 37 53
sleep 0.3
check "closing ends the program with code 0" 'close_clock'
check "closing saves the outer position and the unit" '[ "$(tr -d "\r" < "$settings" 2>/dev/null)" = "$((37 - frameLeft)) $((53 - frameTop)) 20" ]'
check "the settings line ends in CR LF" '[ "$(tail -c 2 "$settings" | od -An -tx1 | tr -d " ")" = 0d0a ]'

check "a restart opens with the saved unit and position" 'start_clock && wait_for_size 140x320 && [ "$(geometry)" = "140x320+37+53" ]'
close_clock >/dev/null

for damaged in "0 0 0" "-5 -5 -28" "12 34 99999" "garbage"; do
  printf '%s\r\n' "$damaged" > "$settings"
  check "settings \"$damaged\" start the clock at 196 x 448" 'start_clock && wait_for_size 196x448 && sleep 0.6 && kill -0 "$pid"'
  close_clock >/dev/null
done
printf '\x00\xff\xfe\x01 20 30 40\n' > "$settings"
check "binary settings start the clock at 196 x 448" 'start_clock && wait_for_size 196x448 && sleep 0.6 && kill -0 "$pid"'
close_clock >/dev/null
printf '%s\r\n' "-5000 -5000 40" > "$settings"
check "a position off the screen is brought back onto it" 'start_clock && wait_for_size 280x640 && [ "$(geometry)" = "280x640+$frameLeft+$frameTop" ]'
close_clock >/dev/null

# Border drags need a frame that Wine draws itself: a Wine virtual desktop.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
wineserver -k
sleep 0.5
wineserver -p30 </dev/null >/dev/null 2>&1

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
if start_clock; then
  sleep 1
  read -r outerWidth outerHeight <<< "$(outer_size)"
  frameWidth=$((outerWidth - 196))
  frameHeight=$((outerHeight - 448))
  # The right border, dragged to a client width of 150: the height follows, 16 × 21.
  drag $((outerWidth - 2)) 300 $((outerWidth - 2 - 46)) 300
  check "dragging the right border to 150 wide sets the unit to 21" 'close_with_keys && [ "$(tr -d "\r" < "$settings")" = "0 0 21" ]'
  # The bottom-right corner, dragged to a client height of 500: the unit 31.
  start_clock && sleep 1
  read -r outerWidth outerHeight <<< "$(outer_size)"
  drag $((outerWidth - 2)) $((outerHeight - 2)) $((outerWidth + 40)) $((frameHeight + 500 - 2))
  check "dragging a corner to 500 high gives 217 x 500 and the unit 31" '[ "$(outer_size)" = "$((frameWidth + 217)) $((frameHeight + 500))" ] && close_with_keys && [ "$(tr -d "\r" < "$settings")" = "0 0 31" ]'
else
  fail "the clock starts in a Wine virtual desktop"
fi

finish
