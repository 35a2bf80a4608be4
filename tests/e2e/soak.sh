#!/usr/bin/env bash
# horavel-soak, Linux and Windows builds: one simulated hour across the end of
# summer time in Berlin, the memory flat and the window picture of a fixed
# moment the same after the run as before it; a run in a zone without daylight
# saving and bad arguments are refused. README.md says how to run 24 hours.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=soak
source tests/e2e/lib/report.sh
linux_build=${HORAVEL_LINUX_BUILD:-build/linux}
windows_build=${HORAVEL_WINDOWS_BUILD:-build/windows}
linux_program="$(realpath -m "$linux_build/tools/soak/horavel-soak")"
windows_program="$(realpath -m "$windows_build/tools/soak/horavel-soak.exe")"
wine_run="$(realpath -m "$windows_build/wine-run")"
for needed in "$linux_program" "$windows_program" "$wine_run"; do
  if [ ! -x "$needed" ]; then
    fail "$needed has not been built"
    finish
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one build in the work folder: standard output in $work/out and standard
# error in $work/err, without Wine's carriage returns; the exit status in $status.
run() {
  local build=$1
  shift
  if [ "$build" = linux ]; then
    (cd "$work" && "$linux_program" "$@") >"$work/out.raw" 2>"$work/err.raw"
  else
    (cd "$work" && "$wine_run" "$windows_program" "$@") >"$work/out.raw" 2>"$work/err.raw"
  fi
  status=$?
  tr -d '\r' <"$work/out.raw" >"$work/out"
  tr -d '\r' <"$work/err.raw" >"$work/err"
}
has() { grep -Eq "$1" "$work/out"; }

for build in linux windows; do
  TZ=Europe/Berlin run $build --hours 1
  memory=$(grep '^memory: ' "$work/out")
  if [ $status -eq 0 ] && has '^hour 1  unit 28  resident [0-9.]+ MB at minute 5, [0-9.]+ MB at the end' &&
     has '^memory: .* both at unit 28: [-+][0-9.]+ MB, within 1 MB$' && has '^horavel-soak: passed: 14400 ticks'; then
    pass "$build: one hour, 14400 ticks at U = 28, memory flat (${memory#memory: })"
  else
    fail "$build: one hour gave exit $status: $(tr '\n' '|' <"$work/out") $(cat "$work/err")"
  fi
  has '^daylight-saving change at 2026-10-25T01:00:00Z: local time from UTC\+02:00 to UTC\+01:00$' &&
    pass "$build: the run crosses the end of summer time at 01:00 UT" ||
    fail "$build: no daylight-saving change reported in Europe/Berlin"
  has '^picture of 2026-12-09T10:08:30Z at unit 28: identical before and after the run \(263424 bytes\)$' &&
    pass "$build: the window picture of a fixed moment is byte-identical after the run" ||
    fail "$build: the window picture changed: $(grep '^picture' "$work/out")"
  # GDI objects are counted where there is GDI, and only there.
  if [ $build = windows ]; then
    has '^hour 1 .*  gdi objects [0-9]+$' && pass "windows: the GDI objects in use are reported" ||
      fail "windows: no count of GDI objects"
  else
    has 'no GDI objects on this system' && ! has 'gdi objects [0-9]' &&
      pass "linux: says it has no GDI objects to count" || fail "linux: GDI objects reported on Linux"
  fi

  # A zone without daylight saving: refused at once, before any hour is run.
  TZ=UTC run $build --hours 1
  [ $status -eq 1 ] && ! has '^hour ' && grep -q '^horavel-soak: no daylight-saving change between' "$work/err" &&
    grep -q 'TZ=Europe/Berlin' "$work/err" && pass "$build: a run in UTC is refused, naming a zone to use" ||
    fail "$build: a run in UTC gave exit $status: $(cat "$work/out" "$work/err")"

  for bad in "--hours 0" "--hours 1.5" "--at 2026-10-25T00:30:00" "--unit 28"; do
    # shellcheck disable=SC2086
    TZ=Europe/Berlin run $build $bad
    [ $status -eq 2 ] && [ ! -s "$work/out" ] && head -1 "$work/err" | grep -q '^horavel-soak: ' &&
      grep -q '^usage: horavel-soak' "$work/err" && pass "$build: '$bad' is refused with exit 2 and the usage" ||
      fail "$build: '$bad' gave exit $status"
  done
done

finish
