#!/usr/bin/env bash
# The Linux clock program under a virtual X display: the first window, its
# pictures and their ticking, the S, M and L keys, snapping to the 7:16 grid,
# the settings saved on closing and read on the next start, and damaged
# settings files. Runs with its own temporary home folder.
set -uo pipefail
cd "$(dirname "$0")/../.."

if [ "${HORAVEL_E2E_INNER:-}" != 1 ]; then
  build=${HORAVEL_LINUX_BUILD:-build/linux}
  program="$build/app/horavel"
  if [ ! -x "$program" ]; then
    echo "FAIL window-linux: $program has not been built"
    exit 1
  fi
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  HORAVEL_E2E_INNER=1 HORAVEL_E2E_WORK="$work" HORAVEL_E2E_PROGRAM="$(realpath "$program")" \
    timeout 170 xvfb-run -a -s '-screen 0 1024x768x24' bash "$0"
  exit $?
fi

work=$HORAVEL_E2E_WORK
program=$HORAVEL_E2E_PROGRAM
export HOME="$work/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME" "$work/cwd"
settings="$HOME/.config/Brantolm/Horavel/Settings.txt"
pid=
window=
e2e_name=window-linux
source tests/e2e/lib/window-session.sh

start_clock() {
  (cd "$work/cwd" && exec "$program") &
  pid=$!
  window=$(timeout 15 xdotool search --sync --onlyvisible --name '^Horavel$' 2>/dev/null | head -1)
  [ -n "$window" ]
}

# First start: no settings, the textures beside the program, not in the current folder.
if start_clock; then pass "first start opens a window titled Horavel"; else
  fail "first start opens a window titled Horavel"; exit 1; fi
check "first client area is 196 x 448 at (0, 0)" 'wait_for_size 196x448 && [ "$(geometry)" = "196x448+0+0" ]'
check_pictures_and_keys

xdotool windowsize "$window" 150 320
check "a width of 150 snaps the height to 336" 'wait_for_size 150x336'
xdotool windowsize "$window" 150 160
check "a height of 160 snaps the width to 70" 'wait_for_size 70x160'
xdotool key --window "$window" s 2>/dev/null
check "key S after resizing gives 140 x 320 again" 'wait_for_size 140x320'

xdotool windowmove "$window" 37 53
sleep 0.3
check "closing ends the program with code 0" 'close_clock'
check "closing saves the position and the unit" '[ "$(cat "$settings" 2>/dev/null)" = "37 53 20" ]'

check "a restart opens with the saved unit and position" 'start_clock && wait_for_size 140x320 && [ "$(geometry)" = "140x320+37+53" ]'
close_clock >/dev/null

for damaged in "0 0 0" "-5 -5 -28" "12 34 99999" "garbage"; do
  printf '%s\n' "$damaged" > "$settings"
  check "settings \"$damaged\" start the clock at 196 x 448" 'start_clock && wait_for_size 196x448 && sleep 0.6 && kill -0 "$pid"'
  close_clock >/dev/null
done
printf '\x00\xff\xfe\x01 20 30 40\n' > "$settings"
check "binary settings start the clock at 196 x 448" 'start_clock && wait_for_size 196x448 && sleep 0.6 && kill -0 "$pid"'
close_clock >/dev/null
printf '%s\n' "-5000 -5000 40" > "$settings"
check "a position off the screen is brought back onto it" 'start_clock && wait_for_size 280x640 && [ "$(geometry)" = "280x640+0+0" ]'
close_clock >/dev/null

finish
