#!/usr/bin/env bash
# horavel-snapshot, Linux and Windows builds: the globe pictures and the geometry
# of 2000-01-01 12:00 UT, the same globe pixels from both builds for several
# moments and layout units, and the command line's answers to bad arguments,
# --help and unreadable textures. Works in its own temporary folder.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=snapshot-globes
source tests/e2e/lib/snapshot-programs.sh

mkdir -p "$work/linux" "$work/windows"

# Reads PNG pictures through ImageMagick as binary PPM.
cat > "$work/pictures.py" <<'CODE'
import json, subprocess, sys

def load(path):
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        start = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start:position])
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[position + 1:]

def grey(picture, x, y):
    """Red channel at (x, y), y counted upward from the bottom row."""
    width, height, pixels = picture
    return pixels[3 * ((height - 1 - y) * width + x)]

command = sys.argv[1]
if command == "size":
    width, height, _ = load(sys.argv[2])
    print(f"{width}x{height}")
elif command == "compare":
    # Pixels that differ by one level, and pixels on the limb that one build
    # draws at the night-side floor (grey 12 times the map, so no channel above
    # 12) and the other leaves black: a grazing ray whose discriminant changes
    # sign with the last bit of a sine. Then the largest other difference.
    a, b = load(sys.argv[2]), load(sys.argv[3])
    if a[:2] != b[:2]:
        print("size", a[:2], b[:2])
        sys.exit(1)
    by_one, limb, largest = 0, 0, 0
    for i in range(0, len(a[2]), 3):
        pa, pb = a[2][i:i + 3], b[2][i:i + 3]
        d = max(abs(pa[k] - pb[k]) for k in range(3))
        if d == 1:
            by_one += 1
        elif d > 1:
            if (not any(pa) and max(pb) <= 12) or (not any(pb) and max(pa) <= 12):
                limb += 1
            else:
                largest = max(largest, d)
    print(by_one, limb, largest)
elif command == "earth":
    # Drawn with a white map: the sub-solar point in the middle at full light,
    # darker toward the limb, the corners black.
    width, height, pixels = load(sys.argv[2])
    centre, radius = width // 2, width * 5 // 14
    ring = [grey((width, height, pixels), centre + dx, centre + dy)
            for dx, dy in ((radius - 2, 0), (-radius + 2, 0), (0, radius - 2), (0, -radius + 2))]
    ok = (grey((width, height, pixels), centre, centre) == 255 and max(ring) < 200 and min(ring) > 12
          and not any(pixels[:3]) and not any(pixels[-3:]))
    print("ok" if ok else f"bad {ring}")
elif command == "crescent":
    # Light on the side of the smaller columns: the left half of the disc is
    # brighter than the right half.
    width, height, pixels = load(sys.argv[2])
    left = right = 0
    for y in range(height):
        for x in range(width):
            value = pixels[3 * (y * width + x)]
            if x < width // 2:
                left += value
            else:
                right += value
    print("ok" if left > 2 * right else f"bad {left} {right}")
elif command == "ocean":
    # The sub-solar point of 2000-01-01 lies in the South Atlantic: blue, not red.
    width, height, pixels = load(sys.argv[2])
    i = 3 * ((height // 2) * width + width // 2)
    red, green, blue = pixels[i:i + 3]
    print("ok" if blue > 30 and red < 10 else f"bad {red} {green} {blue}")
elif command == "black":
    width, height, pixels = load(sys.argv[2])
    print("ok" if not any(pixels) else "bad")
elif command == "describe":
    d = json.loads(sys.argv[2])
    checks = [
        abs(d["jd_utc"] - 2451545.0) < 1e-9,
        d["t_millennia"] == 0,
        abs(d["subsolar_lon_deg"] - 1.14) < 0.01,
        abs(d["subsolar_lat_deg"] + 23.03) < 0.01,
        abs(d["sub_earth_lon_deg"] - 5.32) < 0.01,
        abs(d["sub_earth_lat_deg"] + 6.77) < 0.01,
        90 < d["moon_phase_angle_deg"] < 180,
        0 < d["moon_illuminated_fraction"] < 0.5,
        len(d["earth_km"]) == 3 and len(d["moon_km"]) == 3,
        abs(d["earth_km"][0] + 26492249) < 5 and abs(d["moon_km"][2] + 76343) < 5,
    ]
    print("ok" if all(checks) else f"bad {checks}")
elif command == "same-json":
    a, b = json.loads(sys.argv[2]), json.loads(sys.argv[3])
    def close(x, y):
        if isinstance(x, list):
            return all(close(p, q) for p, q in zip(x, y))
        return abs(x - y) <= 1e-6 * max(1.0, abs(x))
    print("ok" if a.keys() == b.keys() and all(close(a[k], b[k]) for k in a) else "bad")
CODE
pictures() { python3 "$work/pictures.py" "$@"; }

linux() { (cd "$work/linux" && "$linux_program" "$@"); }
windows() { (cd "$work/windows" && "$wine_run" "$windows_program" "$@"); }

# The picture the clock shows on the first day of 2000.
moment=2000-01-01T12:00:00Z
linux_json=$(linux --at $moment --unit 28 --earth-out e.png --moon-out m.png --describe)
status=$?
windows_json=$(windows --at $moment --unit 28 --earth-out e.png --moon-out m.png --describe | tr -d '\r')
windows_status=$?
if [ $status -eq 0 ] && [ "$(pictures size "$work/linux/e.png")" = 392x392 ] &&
   [ "$(pictures size "$work/linux/m.png")" = 392x392 ]; then
  pass "Linux build writes both 392 x 392 globes at U = 28"
else
  fail "Linux build writes both 392 x 392 globes at U = 28 (exit $status)"
fi
[ "$(pictures ocean "$work/linux/e.png")" = ok ] && pass "Earth: the middle shows the South Atlantic in blue" ||
  fail "Earth: the middle is not the blue ocean (channel order?)"
[ "$(pictures describe "$linux_json")" = ok ] && pass "describe: sub-solar point 1.14 E 23.03 S, a crescent Moon" ||
  fail "describe: unexpected geometry: $linux_json"
# A moment given with an offset and a fraction of a second.
offset_json=$(linux --at 2000-01-01T13:29:59.5+01:30 --describe)
python3 -c "import json, sys; d = json.loads(sys.argv[1]); sys.exit(abs(d['jd_utc'] - (2451545.0 - 0.5 / 86400)) > 1e-9)" \
  "$offset_json" && pass "--at with an offset and a fraction of a second" || fail "--at with an offset: $offset_json"

# The lighting alone, with white maps.
convert -size 64x32 xc:white "$work/white.png"
linux --at $moment --unit 28 --earth-texture "$work/white.png" --moon-texture "$work/white.png" \
  --earth-out white-e.png --moon-out white-m.png
[ "$(pictures earth "$work/linux/white-e.png")" = ok ] && pass "Earth: day side in the middle, black corners" ||
  fail "Earth: day side not in the middle"
[ "$(pictures crescent "$work/linux/white-m.png")" = ok ] && pass "Moon: crescent lit toward the left" ||
  fail "Moon: not a crescent lit toward the left"
[ $windows_status -eq 0 ] && [ "$(pictures same-json "$linux_json" "$windows_json")" = ok ] &&
  pass "Windows build: exit 0 and the same description" || fail "Windows build: exit $windows_status, $windows_json"

# The same globe pixels from both builds. Where the two C libraries round a
# mathematical function differently a few pixels may differ by one level, or sit
# on either side of the limb.
for case in "2000-01-01T12:00:00Z 28" "2000-01-21T04:40:00Z 20" "2026-12-08T04:15:25+01:00 40" \
            "1987-06-30T23:59:59.9-03:30 21" "2000-01-01T12:00:00Z 2" "2000-01-06T18:14:00Z 3"; do
  set -- $case
  linux --at "$1" --unit "$2" --earth-out e2.png --moon-out m2.png
  windows --at "$1" --unit "$2" --earth-out e2.png --moon-out m2.png
  for body in e2 m2; do
    result=$(pictures compare "$work/linux/$body.png" "$work/windows/$body.png" 2>&1)
    read -r by_one limb largest <<<"$result"
    # At most one pixel in a thousand may differ, and only in those two ways.
    total=$(( 14 * $2 * 14 * $2 ))
    if [ "$result" = "0 0 0" ]; then
      pass "$body at $1, U = $2: Linux and Windows pixels identical"
    elif [[ "$largest" =~ ^[0-9]+$ ]] && [ "$largest" = 0 ] && [ $(( (by_one + limb) * 1000 )) -le "$total" ]; then
      pass "$body at $1, U = $2: $by_one pixels differ by one level, $limb limb pixels at the floor against black"
    else
      fail "$body at $1, U = $2: Linux and Windows differ (by one level, limb, largest other: $result)"
    fi
  done
done

# Bad arguments: a one-line error and the usage on standard error, exit 2.
for build in linux windows; do
  for bad in "--unit 0 --describe" "--at 2000-02-30T00:00:00Z --describe" "--at 2000-01-01T12:00:00 --describe" \
             "--frobnicate" "--earth-out" ""; do
    # shellcheck disable=SC2086
    $build $bad >"$work/out" 2>"$work/err"
    status=$?
    if [ $status -eq 2 ] && [ ! -s "$work/out" ] && head -1 "$work/err" | grep -q '^horavel-snapshot: ' &&
       grep -q '^usage: horavel-snapshot' "$work/err"; then
      pass "$build: '$bad' is refused with exit 2 and the usage"
    else
      fail "$build: '$bad' gave exit $status"
    fi
  done
  # File names in any script, given as UTF-8 (on Windows through the manifest's
  # UTF-8 code page): a map read from one and a picture written to another.
  cp assets/Moon.png "$work/$build/Mond-月.png"
  rm -f "$work/$build/Zürich-日本.png"
  $build --at $moment --unit 4 --moon-texture "Mond-月.png" --out "Zürich-日本.png" >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 0 ] && [ -s "$work/$build/Zürich-日本.png" ] && [ ! -s "$work/err" ] &&
    pass "$build: non-ASCII file names reach the program" || fail "$build: non-ASCII names gave exit $status: $(cat "$work/err")"
  $build --version >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 0 ] && tr -d '\r' <"$work/out" | grep -qE '^horavel-snapshot [0-9]+\.[0-9]+\.[0-9]+$' &&
    pass "$build: --version prints the version" || fail "$build: --version gave exit $status: $(cat "$work/out")"
  $build --help >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 0 ] && grep -q '^usage: horavel-snapshot' "$work/out" && pass "$build: --help prints the usage" ||
    fail "$build: --help gave exit $status"
  # An unreadable texture: a warning, and the body drawn black.
  $build --at $moment --unit 4 --earth-texture "$work/missing.png" --earth-out black.png >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 0 ] && grep -q 'warning' "$work/err" && [ "$(pictures black "$work/$build/black.png")" = ok ] &&
    pass "$build: an unreadable texture warns and leaves the Earth black" ||
    fail "$build: unreadable texture gave exit $status"
done

finish
