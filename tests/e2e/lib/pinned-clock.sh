# Shared by the window tests of every window system: the moments the clock is
# pinned to, and waiting for the clock and for what a command prints. The
# sourcing script sets e2e_name; pid is the clock's process id.
# The clock is never left to the hour the tests happen to run at: every start
# pins its clock to one of these moments (UTC), each shown in its own zone.
moments=(
  "2026-12-08T22:30:00Z UTC"               # the Sun over the Pacific: the day side mostly dark ocean
  "2026-12-09T13:00:20Z Europe/Berlin"     # the Moon shown a day from new: a disc almost black
  "2026-12-16T06:00:05Z Asia/Tokyo"        # the Earth shown, the Moon near its first quarter
  "2026-12-24T03:45:50Z America/New_York"  # the Moon shown, full
)
faketime_library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -f "$faketime_library" ] || { echo "FAIL $e2e_name: $faketime_library is missing (package faketime)"; exit 1; }

pid=
clock_env=()
# Pins the clock of the next start: "frozen" at the moment, or "running" from
# it. Only the wall clock is moved; the monotonic clock the timers run on stays
# real. A faked clock the tests themselves run under is replaced, not stacked.
pin_clock() {  # frozen|running MOMENT ZONE
  local stamp
  stamp=$(date -u -d "$2" +%s) || return 1
  [ "$1" = running ] && stamp="@$stamp"
  clock_env=(-u FAKETIME_SHARED LD_PRELOAD="$faketime_library" FAKETIME="$stamp" FAKETIME_FMT=%s
             FAKETIME_DONT_FAKE_MONOTONIC=1 TZ="$3")
}

# Waits up to 5 s for the clock to end; its exit code, or 124 (and it is
# killed) when it runs on, as timeout(1) says it.
wait_for_end() {  # WHAT_ENDS_IT
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  echo "  the clock did not end after $1"
  return 124
}

# Waits up to 5 s for the clock to end with the exit code given.
ends_with() {  # CODE WHAT_ENDS_IT
  local code
  wait_for_end "$2"
  code=$?
  [ "$code" -eq "$1" ] && return 0
  [ "$code" -ne 124 ] && echo "  the clock ended with code $code after $2"
  return 1
}

# Waits up to 5 s for the client area to take a size ("WIDTHxHEIGHT"), or a size
# and a place ("WIDTHxHEIGHT+LEFT+TOP"), as the sourcing script's geometry
# function reports it.
wait_for_size() {
  for _ in $(seq 50); do
    case "$(geometry)" in "$1" | "$1"+*) return 0 ;; esac
    sleep 0.1
  done
  echo "  the client area is '$(geometry)', not $1"
  return 1
}

# Runs a command up to 25 times, 0.2 s apart, until it succeeds; fails when it
# never does.
retry_for_5s() {  # command and its arguments
  for _ in $(seq 25); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# Waits up to 5 s for a command to print EXPECTED; otherwise says what it
# printed last: "  WHAT 'printed', not 'EXPECTED'".
wait_for_output() {  # what, expected, command and its arguments
  local what=$1 expected=$2
  shift 2
  for _ in $(seq 50); do
    [ "$("$@")" = "$expected" ] && return 0
    sleep 0.1
  done
  echo "  $what '$("$@")', not '$expected'"
  return 1
}

