#!/usr/bin/env bash
# Sets up and runs every test: the unit tests natively, under AddressSanitizer and
# UndefinedBehaviorSanitizer, as arm64 programs under qemu, and as Windows
# programs under Wine; then the end-to-end checks in tests/e2e/. Fails when
# anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh test

declare -A counts
run_suite() {
  local preset=$1
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  local log="build/$preset/ctest.log"
  if ! ctest --preset "$preset" 2>&1 | tee "$log"; then
    echo "== $preset: FAILED"
    exit 1
  fi
  # ctest closes with "100% tests passed, 0 tests failed out of 230".
  local failed total
  failed=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -1 | awk '{ print $1 }')
  total=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -1 | awk '{ print $NF }')
  counts[$preset]="$((total - failed)) of $total"
}

run_suite linux
run_suite sanitize
run_suite linux-arm64
# Programs that Wine presumably failed to start, and that its wrapper started
# again, are noted here and listed at the end, whether or not the run passed.
restarts=build/windows/wine-run-restarts.log
rm -f "$restarts"
list_restarts() {
  if [ -s "$restarts" ]; then
    echo "Windows programs that ended printing nothing of their own and were started again:"
    cat "$restarts"
  fi
}
trap list_restarts EXIT
run_suite windows

e2e_log=build/e2e.log
: >"$e2e_log"
for check in tests/e2e/*.sh; do
  [ -e "$check" ] || continue
  echo "== end-to-end: $check"
  if ! bash "$check" 2>&1 | tee -a "$e2e_log"; then
    echo "== end-to-end: $check FAILED"
    exit 1
  fi
done

echo "== summary"
echo "Linux (native):              ${counts[linux]} tests passed"
echo "Linux (ASan + UBSan):        ${counts[sanitize]} tests passed"
echo "Linux arm64 (under qemu):    ${counts[linux-arm64]} tests passed"
echo "Windows (MinGW-w64 on Wine): ${counts[windows]} tests passed"
echo "End-to-end checks:           $(grep -c '^PASS' "$e2e_log") passed, $(grep -c '^FAIL' "$e2e_log") failed"
