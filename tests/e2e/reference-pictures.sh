#!/usr/bin/env bash
# The pictures of both builds, pixel for pixel: for a table of moments, layout
# units and time zones, horavel-snapshot draws the window picture and the two
# globes, and the SHA-256 of each picture's RGB pixels must match the one kept
# in tests/data/reference-pictures/ for that build. A change that moves any
# pixel fails here; one that means to (a new map, a mended drawing rule) runs
#   bash tests/e2e/reference-pictures.sh --update
# and commits the new lists with the reason.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=reference-pictures
source tests/e2e/lib/snapshot-programs.sh
source tests/e2e/lib/reference-cases.sh

update=0
[ "${1:-}" = --update ] && update=1
mkdir -p "$work/linux" "$work/windows"

for build in linux windows; do
  list="tests/data/reference-pictures/$build.txt"
  if [ $build = linux ]; then
    draw_reference_cases "$work/linux" "$linux_program" >"$work/$build.txt"
  else
    draw_reference_cases "$work/windows" "$wine_run" "$windows_program" >"$work/$build.txt"
  fi
  if [ $update = 1 ]; then
    cp "$work/$build.txt" "$list"
    echo "$e2e_name: wrote $list"
    continue
  fi
  compare_with_reference "$list" "$work/$build.txt" "$build" "their reference"
done

finish
