#!/usr/bin/env bash
# The arm64 program draws the x86-64 pictures: the cross-built horavel-snapshot,
# run under qemu, draws every case of the reference table, and the SHA-256 of
# each picture's RGB pixels must be the one kept for the Linux build. The
# tracing's arithmetic is correctly rounded and never fused, and the math
# library gives the same results on both processors, so not a pixel may move.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=reference-pictures-arm64
source tests/e2e/lib/report.sh
source tests/e2e/lib/reference-cases.sh

arm64_build=${HORAVEL_ARM64_BUILD:-build/linux-arm64}
program="$(realpath -m "$arm64_build/tools/snapshot/horavel-snapshot")"
if [ ! -x "$program" ]; then
  echo "FAIL $e2e_name: $program has not been built"
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

list=tests/data/reference-pictures/linux.txt
draw_reference_cases "$work" qemu-aarch64 -L /usr/aarch64-linux-gnu "$program" >"$work/arm64.txt"
check "the program is an arm64 one" 'file -L "$program" | grep -q "ARM aarch64"'
compare_with_reference "$list" "$work/arm64.txt" arm64 "the Linux reference"

finish
