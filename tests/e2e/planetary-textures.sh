#!/usr/bin/env bash
# A 16-bit FITS Moon map written by astropy and a 16-bit PDS IMG Moon map, both
# made here from assets/Moon.png, passed to horavel-snapshot as --moon-texture on
# the Linux build and on the Windows build under Wine: each must give a lit Moon
# picture that looks like the one drawn from Moon.png itself. Earth.png copied
# into folders whose names hold ".fit", ".img" or ".tif" draws the very Earth
# that the file draws where it lies.
set -uo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
linux_build=${HORAVEL_LINUX_BUILD:-build/linux}
windows_build=${HORAVEL_WINDOWS_BUILD:-build/windows}
python=/usr/bin/python3
# Close to a full Moon, so that most of the disc is lit.
moment=2026-12-24T01:00:00Z

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
pass() { echo "PASS planetary: $*"; }
fail() { echo "FAIL planetary: $*"; status=1; }

# The map's grey levels as 16-bit samples, bottom line first (the readers take
# the first line of samples as the bottom row).
convert assets/Moon.png -depth 16 -endian LSB gray:"$work/moon.gray16"
read -r width height < <(identify -format '%w %h' assets/Moon.png)
if ! "$python" - "$work" "$width" "$height" <<'PY'
import sys
import numpy as np
from astropy.io import fits

work = sys.argv[1]
width, height = int(sys.argv[2]), int(sys.argv[3])
grey = np.fromfile(f"{work}/moon.gray16", dtype="<u2").reshape(height, width)
bottom_first = grey[::-1, :]

# FITS: signed 16-bit, 0 … 32767 for black … white (no scaling keywords).
fits.PrimaryHDU((bottom_first.astype(np.int64) * 32767 // 65535).astype(np.int16)).writeto(
    f"{work}/moon16.fits", overwrite=True)

# The same FITS map with its lines in file order reversed: a control that must
# draw a different Moon, which shows that the texture given is the one drawn.
fits.PrimaryHDU((grey.astype(np.int64) * 32767 // 65535).astype(np.int16)).writeto(
    f"{work}/moon16-reversed.fits", overwrite=True)

# PDS IMG: unsigned 16-bit, least significant byte first, after a label of
# 512-byte records.
record = 512
label = "\r\n".join([
    "PDS_VERSION_ID = PDS3",
    "RECORD_TYPE = FIXED_LENGTH",
    f"RECORD_BYTES = {record}",
    f"FILE_RECORDS = {1 + width * height * 2 // record}",
    "^IMAGE = 2",
    "OBJECT = IMAGE",
    f"  LINES = {height}",
    f"  LINE_SAMPLES = {width}",
    "  SAMPLE_TYPE = LSB_UNSIGNED_INTEGER",
    "  SAMPLE_BITS = 16",
    "END_OBJECT = IMAGE",
    "END",
]) + "\r\n"
with open(f"{work}/moon16.img", "wb") as out:
    out.write(label.encode("ascii").ljust(record, b" "))
    out.write(bottom_first.astype("<u2").tobytes())
PY
then
  fail "could not write the Moon maps"
  exit 1
fi
pass "wrote moon16.fits ($(stat -c %s "$work/moon16.fits") bytes) and moon16.img ($(stat -c %s "$work/moon16.img") bytes)"

# Fraction of the picture brighter than a dim grey, and the RMS difference from
# the reference picture (0 … 1).
lit_fraction() { convert "$1" -colorspace Gray -threshold 20% -format '%[fx:mean]' info:; }
difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -E 's/.*\(([0-9.e-]+)\).*/\1/'; }

check_build() {
  local label=$1 runner=$2 program=$3 prefix=$4
  if [ ! -x "$program" ]; then
    fail "$label: $program is missing"
    return
  fi
  local reference="$work/$label-png.png"
  if ! $runner "$program" --at "$moment" --unit 20 --moon-texture "${prefix}$repo/assets/Moon.png" \
      --moon-out "${prefix}$reference" >"$work/$label-png.log" 2>&1; then
    fail "$label: the reference picture from Moon.png"
    cat "$work/$label-png.log"
    return
  fi
  local kind rmse
  for kind in fits img; do
    local picture="$work/$label-$kind.png"
    if ! $runner "$program" --at "$moment" --unit 20 --moon-texture "${prefix}$work/moon16.$kind" \
        --moon-out "${prefix}$picture" >"$work/$label-$kind.log" 2>&1 || [ ! -s "$picture" ]; then
      fail "$label: --moon-texture moon16.$kind"
      cat "$work/$label-$kind.log"
      continue
    fi
    if grep -q . "$work/$label-$kind.log"; then
      fail "$label: moon16.$kind printed a message: $(head -1 "$work/$label-$kind.log")"
      continue
    fi
    local lit
    lit=$(lit_fraction "$picture")
    rmse=$(difference "$picture" "$reference")
    # The disc fills about 40 % of the square picture; a texture read upside
    # down or not at all differs from the reference by far more than 2 %.
    if awk -v lit="$lit" -v rmse="$rmse" 'BEGIN { exit !(lit > 0.2 && rmse < 0.02) }'; then
      pass "$label: moon16.$kind gives a lit Moon (lit fraction $lit, RMSE to the PNG picture $rmse)"
    else
      fail "$label: moon16.$kind lit fraction $lit, RMSE to the PNG picture $rmse"
    fi
  done
  local control="$work/$label-reversed.png"
  if $runner "$program" --at "$moment" --unit 20 --moon-texture "${prefix}$work/moon16-reversed.fits" \
      --moon-out "${prefix}$control" >/dev/null 2>&1; then
    rmse=$(difference "$control" "$reference")
    if awk -v rmse="$rmse" 'BEGIN { exit !(rmse > 0.02) }'; then
      pass "$label: a map with reversed lines draws a different Moon (RMSE $rmse)"
    else
      fail "$label: a map with reversed lines draws the same Moon (RMSE $rmse): the texture is not used"
    fi
  else
    fail "$label: --moon-texture moon16-reversed.fits"
  fi

  # The folder's name says nothing about the file in it.
  local earth="$work/$label-earth.png" folder failed=""
  $runner "$program" --at "$moment" --unit 20 --earth-texture "${prefix}$repo/assets/Earth.png" \
    --earth-out "${prefix}$earth" >/dev/null 2>&1
  for folder in j.fitzgerald backup.img scans.tif.d; do
    mkdir -p "$work/$folder" && cp assets/Earth.png "$work/$folder/Earth.png"
    if ! $runner "$program" --at "$moment" --unit 20 --earth-texture "${prefix}$work/$folder/Earth.png" \
        --earth-out "${prefix}$work/$label-$folder.png" >/dev/null 2>&1 ||
        ! cmp -s "$work/$label-$folder.png" "$earth"; then
      failed+=" $folder"
    fi
  done
  if [ -s "$earth" ] && [ -z "$failed" ]; then
    pass "$label: Earth.png under j.fitzgerald/, backup.img/ and scans.tif.d/ draws the same Earth"
  else
    fail "$label: Earth.png draws another Earth under:${failed:- (no reference picture)}"
  fi
}

check_build linux "" "$linux_build/tools/snapshot/horavel-snapshot" ""
if [ -x "$windows_build/wine-run" ]; then
  check_build windows "$windows_build/wine-run" "$windows_build/tools/snapshot/horavel-snapshot.exe" "Z:"
else
  fail "windows: $windows_build/wine-run is missing"
fi
exit $status
