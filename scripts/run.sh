#!/usr/bin/env bash
# Sets up, builds and starts the Linux clock.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run
# A build of its own, without tests and benchmarks, so that nothing else is needed.
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHORAVEL_BUILD_TESTS=OFF -DHORAVEL_BENCHMARKS=OFF >/dev/null
cmake --build build/run --target horavel horavel-snapshot
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display here (neither WAYLAND_DISPLAY nor DISPLAY is set), so the clock cannot open its window."
  echo "Its pictures can still be made without one, for example:"
  echo "  build/run/tools/snapshot/horavel-snapshot --out clock.png"
  echo "  build/run/tools/snapshot/horavel-snapshot --help"
  exit 1
fi
exec build/run/app/horavel
