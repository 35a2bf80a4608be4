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

update=0
[ "${1:-}" = --update ] && update=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/linux" "$work/windows"

# Moment, unit, zone. Chosen to cover both globes by day and by phase (the Sun
# over the Pacific, new and full Moon), odd and even units up to a 2160-pixel
# screen, the last half second of a minute, a daylight-saving day and a
# calendar reaching back before 2000.
cases=(
  "2000-01-01T12:00:00Z 28 UTC"
  "2026-12-08T22:30:00Z 28 UTC"
  "2026-12-09T13:00:20Z 40 Europe/Berlin"
  "2026-12-16T06:00:05Z 20 Asia/Tokyo"
  "2026-12-24T03:45:50Z 27 America/New_York"
  "2026-03-29T00:59:59.7Z 21 Europe/London"
  "1999-12-31T23:59:30Z 28 UTC"
  "2026-12-09T10:08:30Z 135 UTC"
)

# The SHA-256 of a PNG's pixels as 8-bit RGB, whatever encoder wrote the file.
pixel_hash() { convert "$1" -depth 8 rgb:- | sha256sum | cut -d' ' -f1; }

for build in linux windows; do
  list="tests/data/reference-pictures/$build.txt"
  : >"$work/$build.txt"
  for case in "${cases[@]}"; do
    read -r moment unit zone <<<"$case"
    if [ $build = linux ]; then
      (cd "$work/linux" && TZ=$zone "$linux_program" --at "$moment" --unit "$unit" \
        --out w.png --earth-out e.png --moon-out m.png)
    else
      (cd "$work/windows" && TZ=$zone "$wine_run" "$windows_program" --at "$moment" --unit "$unit" \
        --out w.png --earth-out e.png --moon-out m.png)
    fi
    for picture in w e m; do
      echo "$(pixel_hash "$work/$build/$picture.png" 2>/dev/null || echo none) $moment $unit $zone $picture" >>"$work/$build.txt"
    done
  done
  if [ $update = 1 ]; then
    cp "$work/$build.txt" "$list"
    echo "$e2e_name: wrote $list"
    continue
  fi
  differing=$(diff "$list" "$work/$build.txt" | grep -c '^>')
  if [ "$differing" = 0 ]; then
    pass "$build: all $(wc -l <"$list") pictures match their reference pixel for pixel"
  else
    fail "$build: $differing pictures differ from their reference:"
    diff "$list" "$work/$build.txt" | grep '^>' | sed 's/^>/   /'
  fi
done

finish
