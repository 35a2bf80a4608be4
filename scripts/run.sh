#!/usr/bin/env bash
# Sets up, builds and starts the Linux clock.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run
cmake --preset linux -DHORAVEL_BUILD_TESTS=OFF -DHORAVEL_BENCHMARKS=OFF >/dev/null
cmake --build --preset linux
if [ -x build/linux/app/horavel ]; then
  if [ -z "${DISPLAY:-}" ]; then
    echo "There is no display here (DISPLAY is not set), so the clock cannot open its window."
    echo "Its pictures can still be made: build/linux/tools/snapshot/horavel-snapshot --help"
    exit 1
  fi
  exec build/linux/app/horavel
fi
echo "Built: the window program is not there yet; see build/linux."
