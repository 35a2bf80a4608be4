#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on), replays every kept crash input and fuzzes each
# target for a bounded time (20 s each by default). Fails on any finding.
#   HORAVEL_FUZZ_BUILD    build folder (default build/fuzz)
#   HORAVEL_FUZZ_SECONDS  seconds per target (default 20)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${HORAVEL_FUZZ_BUILD:-build/fuzz}
seconds=${HORAVEL_FUZZ_SECONDS:-20}

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHORAVEL_FUZZ=ON -DHORAVEL_BUILD_TESTS=OFF -DHORAVEL_BENCHMARKS=OFF >"$log" 2>&1; then
  cat "$log"
  echo "FAIL fuzz: configure"
  exit 1
fi
if ! cmake --build "$build" --target fuzz_pds_img_label fuzz_fits_header fuzz_raster_pixels fuzz_tzif >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "FAIL fuzz: build"
  exit 1
fi
echo "PASS fuzz: targets built"
bash fuzz/run-bounded.sh "$build" "$seconds"
