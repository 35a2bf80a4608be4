#!/usr/bin/env bash
# Sets up and runs every test: the unit tests natively, under AddressSanitizer and
# UndefinedBehaviorSanitizer, and as Windows programs under Wine; then the
# end-to-end checks in tests/e2e/. Fails when anything fails.
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
  counts[$preset]=$(grep -Eo '[0-9]+ tests passed' "$log" | tail -1 | grep -Eo '^[0-9]+' || echo 0)
  local total
  total=$(grep -Eo 'out of [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+$' || echo 0)
  counts[$preset]="${counts[$preset]} of $total"
}

run_suite linux
run_suite sanitize
run_suite windows

for check in tests/e2e/*.sh; do
  [ -e "$check" ] || continue
  echo "== end-to-end: $check"
  bash "$check"
done

echo "== summary"
echo "Linux (native):              ${counts[linux]} tests passed"
echo "Linux (ASan + UBSan):        ${counts[sanitize]} tests passed"
echo "Windows (MinGW-w64 on Wine): ${counts[windows]} tests passed"
