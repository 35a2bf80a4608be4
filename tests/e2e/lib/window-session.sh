# Shared by the window tests: reporting, closing the window as a window manager
# does, measuring the client area and taking screenshots. The sourcing script
# sets e2e_name, work (a temporary folder), and pid and window once it has
# started the clock.
e2e_lib=$(dirname "${BASH_SOURCE[0]}")
failures=0

look() { python3 "$e2e_lib/window-look.py" "$@"; }

finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$e2e_name: $failures checks failed"
    exit 1
  fi
  echo "$e2e_name: all checks passed"
}

pass() { echo "PASS $e2e_name: $1"; }
fail() { echo "FAIL $e2e_name: $1"; failures=$((failures + 1)); }
check() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }

# Built where the tests run: the close helper needs the X11 library.
cc -o "$work/close" "$e2e_lib/close-window.c" -lX11 || { echo "FAIL $e2e_name: no C compiler for the close helper"; exit 1; }

# Prints the client area as "WIDTHxHEIGHT+LEFT+TOP".
geometry() {
  xwininfo -id "$window" 2>/dev/null | awk '
    /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'
}

# Waits up to 5 s for the client area to take a size.
wait_for_size() {
  for _ in $(seq 50); do
    case "$(geometry)" in "$1"+*) return 0 ;; esac
    sleep 0.1
  done
  echo "  the client area is $(geometry), not $1"
  return 1
}

close_clock() {
  "$work/close" "$window"
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  echo "  the clock did not end after WM_DELETE_WINDOW"
  return 1
}

# The dial shows the Earth for 15 s, then the Moon (often barely lit) for 15 s:
# waits until the Earth has been up for a second and has 11 s more to go.
wait_for_earth() {
  sleep "$(date +%S.%N | awk '{ s = $1 % 30; print (s >= 1 && s < 12) ? 0 : (31 - s) % 30 }')"
}

# A screenshot of the client area as binary PPM.
shot() { import -window "$window" -depth 8 "ppm:$1" 2>/dev/null; }

# The running clock at U = 28: the dial and the calendar in a screenshot, the
# face changing within a second, then the keys L, M and S with the large
# clock's pictures.
check_pictures_and_keys() {
  sleep 1.5
  wait_for_earth
  shot "$work/a.ppm"
  sleep 1
  shot "$work/b.ppm"
  check "the top half shows the globe dial with yellow and cyan marks" 'look dial "$work/a.ppm"'
  check "the bottom half shows the calendar grid" 'look calendar "$work/a.ppm"'
  check "the clock face changes within a second" 'look differs "$work/a.ppm" "$work/b.ppm"'

  xdotool key --window "$window" l 2>/dev/null
  check "key L gives a client area of 280 x 640" 'wait_for_size 280x640'
  sleep 0.5
  wait_for_earth
  shot "$work/l.ppm"
  check "the large clock shows the dial" 'look dial "$work/l.ppm"'
  check "the large clock shows the calendar" 'look calendar "$work/l.ppm"'
  xdotool key --window "$window" M 2>/dev/null
  check "key M gives a client area of 196 x 448" 'wait_for_size 196x448'
  xdotool key --window "$window" s 2>/dev/null
  check "key S gives a client area of 140 x 320" 'wait_for_size 140x320'
}
