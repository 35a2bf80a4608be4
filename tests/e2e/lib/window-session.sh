# Shared by the X11 window tests of both builds: starting and closing the clock,
# measuring its client area, screenshots, and the checks both builds make. The
# sourcing script sets e2e_name, work (a temporary folder holding cwd/, the
# clock's current folder) and settings (the settings file's path), and defines
#   clock_program             the clock program's path;
#   launch                    starts clock_program in the background in
#                             "$work/cwd" with the environment in clock_env, and
#                             sets pid;
#   draw_snapshot Z M U PNG [OPTION...]
#                             draws with this build's horavel-snapshot the window
#                             picture of moment M at unit U in time zone Z.
e2e_lib=$(dirname "${BASH_SOURCE[0]}")
source "$e2e_lib/report.sh"
look() { python3 "$e2e_lib/window-look.py" "$@"; }

source "$e2e_lib/pinned-clock.sh"
source "$e2e_lib/x11-only.sh"
keep_to_x11 "$work/x11-runtime"

window=

# Starts the clock and waits for its window (a first start of Wine in a fresh
# prefix takes many seconds on a busy machine). Without arguments its clock runs
# from the first moment.
start_clock() {  # [frozen|running MOMENT ZONE]
  if [ $# -eq 0 ]; then
    set -- running ${moments[0]}
  fi
  pin_clock "$@" || return 1
  open_clock
}

# The title of the clock's window, as a pattern of xdotool search --name: the
# local clock's unless the sourcing script sets another.
window_title='^Horavel$'

# Starts the clock with the environment in clock_env and waits for its window.
open_clock() {
  launch
  # The window of this start, not one a program ending just now still shows.
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name "$window_title" 2>/dev/null | head -1)
  [ -n "$window" ] && return 0
  echo "  no window titled $window_title appeared within 60 s; the display shows:"
  xdotool search --name . 2>/dev/null | while read -r id; do echo "    $id $(xdotool getwindowname "$id" 2>/dev/null)"; done
  kill -0 "$pid" 2>/dev/null && echo "  the program still runs" || echo "  the program has ended"
  return 1
}

# Built where the tests run: the close helper needs the X11 library.
cc -o "$work/close" "$e2e_lib/close-window.c" -lX11 || { echo "FAIL $e2e_name: no C compiler for the close helper"; exit 1; }

# Asks the window to close as a window manager does; the program's exit code.
close_clock() {
  "$work/close" "$window"
  wait_for_end WM_DELETE_WINDOW
}

# Prints the client area as "WIDTHxHEIGHT+LEFT+TOP".
geometry() {
  xwininfo -id "$window" 2>/dev/null | awk '
    /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'
}

# Waits up to 5 s for the settings file to hold the line (saved, defined by the
# sourcing script, reads it without its line end).
wait_for_saved() { wait_for_output "the settings file holds" "$1" saved; }

# A screenshot of the client area as binary PPM.
shot() { import -window "$window" -depth 8 "ppm:$1" 2>/dev/null; }

# Waits up to 5 s for the client area to show, pixel for pixel, the window
# picture horavel-snapshot draws for the moment, zone and unit.
shows_snapshot() {  # MOMENT ZONE UNIT [SNAPSHOT OPTIONS]
  local reference="$work/reference.ppm"
  if ! draw_snapshot "$2" "$1" "$3" "$work/reference.png" "${@:4}" ||
     ! convert "$work/reference.png" -depth 8 "ppm:$reference"; then
    echo "  horavel-snapshot drew no picture"
    return 1
  fi
  for _ in $(seq 25); do
    shot "$work/window.ppm" && cmp -s "$work/window.ppm" "$reference" && return 0
    sleep 0.2
  done
  echo "  $(look compare "$work/window.ppm" "$reference")"
  return 1
}

# At every moment, with the clock standing still there: a start without
# settings shows at U = 28 exactly what horavel-snapshot draws for that moment,
# and so does the large clock after the key L, each after a second of ticks,
# which paint the parts of the window their hands cover. The settings file is
# gone after.
check_pictures_at_moments() {
  local entry moment zone
  for entry in "${moments[@]}"; do
    read -r moment zone <<<"$entry"
    rm -f "$settings"
    if ! start_clock frozen "$moment" "$zone"; then
      fail "the clock starts at $moment"
      continue
    fi
    check "$moment in $zone, U = 28: the window shows the snapshot's picture" \
      'wait_for_size 196x448 && sleep 1 && shows_snapshot "$moment" "$zone" 28'
    xdotool key --window "$window" l 2>/dev/null
    check "$moment in $zone, key L: the window shows the snapshot's picture at U = 40" \
      'wait_for_size 280x640 && sleep 1 && shows_snapshot "$moment" "$zone" 40'
    close_clock >/dev/null
  done
  rm -f "$settings"
}

# The running clock paints only what each tick changed (the hands' places, the
# date line). Ticking for a few seconds, then stopped at a later moment by the
# file its faked clock reads, the window must show exactly the picture
# horavel-snapshot draws for that moment: no part painted was left stale. The
# clock runs from a copy of the program with black maps beside it, so that its
# globes are black at every moment and the hands and the date alone move.
# (Without any maps it would say so in message boxes over its window.)
check_partial_paints() {
  local moment zone later stamps="$work/faked-time" bare="$work/bare"
  read -r moment zone <<<"${moments[0]}"
  stamp() { TZ=$zone date -d "$1" '+%Y-%m-%d %H:%M:%S'; }
  echo "@$(stamp "$moment")" >"$stamps"
  mkdir -p "$bare"
  cp "$clock_program" "$bare/"
  convert -size 64x32 xc:black "PNG24:$bare/Earth.png" && cp "$bare/Earth.png" "$bare/Moon.png"
  local kept_program=$clock_program
  clock_program="$bare/$(basename "$clock_program")"
  clock_env=(-u FAKETIME_SHARED -u FAKETIME -u FAKETIME_FMT LD_PRELOAD="$faketime_library"
             FAKETIME_TIMESTAMP_FILE="$stamps" FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 TZ="$zone")
  rm -f "$settings"
  if open_clock; then
    sleep 3
    later=$(date -u -d "$moment 7 seconds" +%Y-%m-%dT%H:%M:%SZ)
    stamp "$later" >"$stamps"
    check "ticking from $moment, then stopped at $later: the window shows that moment's snapshot" \
      'wait_for_size 196x448 && sleep 1 && shows_snapshot "$later" "$zone" 28 --earth-texture ../bare/Earth.png --moon-texture ../bare/Moon.png'
    close_clock >/dev/null
  else
    fail "the clock starts with a clock that can be stopped"
  fi
  clock_program=$kept_program
  rm -f "$settings"
}

# The running clock at U = 28: the face changes within a second; then the keys
# L, M and S.
check_ticking_and_keys() {
  sleep 1
  shot "$work/a.ppm"
  sleep 1
  shot "$work/b.ppm"
  check "the clock face changes within a second" 'look differs "$work/a.ppm" "$work/b.ppm"'
  xdotool key --window "$window" l 2>/dev/null
  check "key L gives a client area of 280 x 640" 'wait_for_size 280x640'
  xdotool key --window "$window" M 2>/dev/null
  check "key M gives a client area of 196 x 448" 'wait_for_size 196x448'
  xdotool key --window "$window" s 2>/dev/null
  check "key S gives a client area of 140 x 320" 'wait_for_size 140x320'
}

# Damaged settings files each start the clock at the default size, and a saved
# position off every screen is brought back onto it, at (left, top) for the
# client area. line_end is the build's own.
check_damaged_settings() {  # LINE_END ONSCREEN_LEFT ONSCREEN_TOP
  local damaged
  for damaged in "0 0 0" "-5 -5 -28" "12 34 99999" "garbage"; do
    printf "%s$1" "$damaged" > "$settings"
    check "settings \"$damaged\" start the clock at 196 x 448" 'start_clock && wait_for_size 196x448 && sleep 0.6 && kill -0 "$pid"'
    close_clock >/dev/null
  done
  printf '\x00\xff\xfe\x01 20 30 40\n' > "$settings"
  check "binary settings start the clock at 196 x 448" 'start_clock && wait_for_size 196x448 && sleep 0.6 && kill -0 "$pid"'
  close_clock >/dev/null
  printf "%s$1" "-5000 -5000 40" > "$settings"
  check "a position off the screen is brought back onto it" "start_clock && wait_for_size 280x640+$2+$3"
  close_clock >/dev/null
}

# Started without a display, the clock (the command given) says so on standard
# error, in the words given and with the build's own line end, and ends with 1.
check_without_display() {  # LINE_END WORDS COMMAND...
  local line_end=$1 said=$2
  shift 2
  (cd "$work/cwd" && exec env -u DISPLAY timeout 60 "$@" </dev/null >/dev/null 2>"$work/no-display.err")
  local status=$?
  check "without a display the clock says \"$said\" and ends with 1" \
    '[ $status -eq 1 ] && cmp -s "$work/no-display.err" <(printf "%s$line_end" "$said")'
}

# The command line's three answers, without a display: --version and --help on
# standard output with 0, an unknown option in one line on standard error with
# 2. The sourcing script defines answer ARGUMENTS..., which runs the program
# with them and sets answered to its exit code, with its streams in
# $work/answer.out and $work/answer.err. Sets version, the project's version.
check_command_line() {
  local refusal
  version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  answer --version
  check "without a display --version prints \"horavel $version\" and ends with 0" \
    '[ $answered -eq 0 ] && cmp -s "$work/answer.out" <(echo "horavel $version") && [ ! -s "$work/answer.err" ]'
  answer --help
  check "without a display --help prints the usage, naming --help and --version, and ends with 0" \
    '[ $answered -eq 0 ] && [ ! -s "$work/answer.err" ] && head -1 "$work/answer.out" | grep -q "^usage: horavel " &&
     [ "$(grep -oE "^ +--[a-z]+" "$work/answer.out" | tr -d " " | tr "\n" " ")" = "--help --version " ]'
  refusal="horavel: unknown option '--no-such-option' (see horavel --help)"
  answer --no-such-option
  check "without a display an unknown option is refused in one line on standard error, with 2: $refusal" \
    '[ $answered -eq 2 ] && [ ! -s "$work/answer.out" ] && cmp -s "$work/answer.err" <(echo "$refusal")'
}
