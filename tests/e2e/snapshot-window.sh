#!/usr/bin/env bash
# horavel-snapshot --out, Linux and Windows builds: the whole window picture of
# Wednesday 2026-12-09 10:08:30 UTC at U = 28 — the dial with the Earth, the
# marks, the hands and the date text above the seven-week calendar — the same
# from both builds outside the text (glyphs come from each platform's font
# engine), and local time taken from TZ or from a zone named by --zone. Then
# the options that change the picture: the week's first day and earthshine.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=snapshot-window
source tests/e2e/lib/snapshot-programs.sh


cat > "$work/frame.py" <<'CODE'
import math, subprocess, sys

U = 28
CX, CY = 196, 252  # dial centre, clock-canvas drawing pixels (twice the window's)

def load(path):
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True, capture_output=True).stdout.split()
    return int(size[0]), int(size[1]), data

def pixel(picture, x, y):
    """(r, g, b) at column x, row y counted down from the top of the window."""
    width, _, data = picture
    i = 3 * (y * width + x)
    return tuple(data[i:i + 3])

def text_area(x, y):
    """True where glyphs may stand: the numerals, the date line, the calendar's
    day numbers and weekday names."""
    if y < 8 * U:
        if y >= 8 * U - 32:
            return True  # the date and time line
        for n in range(1, 13):
            a = math.radians(30 * n)
            ax = (CX + int(6 * U * math.sin(a))) // 2
            ay = (CY + int(6 * U * math.cos(a)) + 4 - 2 * (U // 2)) // 2  # bottom of the digits, from below
            top = 8 * U - 1 - ay
            if abs(x - ax) <= 18 and top - 28 <= y <= top + 3:
                return True
        return False
    row_y, column_x = (y - 8 * U) % U, x % U
    if y < 9 * U:
        return column_x != 0 and row_y != 0  # the header names; only the grid is compared
    return column_x >= 3 and row_y >= 2  # a day number; the cell's left and top strips are compared

command = sys.argv[1]
if command == "size":
    width, height, _ = load(sys.argv[2])
    print(f"{width}x{height}")
elif command == "content":
    p = load(sys.argv[2])
    problems = []
    def ring(test, r0, r1):
        count = 0
        for y in range(8 * U):
            for x in range(7 * U):
                d = math.hypot(2 * x + 1 - CX, (2 * (8 * U - 1 - y) + 1) - CY) / 2
                if r0 <= d <= r1 and test(pixel(p, x, y)):
                    count += 1
        return count
    # The marks are one drawing pixel wide, so on screen they are averaged with
    # the black around the disc: (127, 127, 0) or (63, 63, 0), and likewise cyan.
    yellow = ring(lambda c: c[0] >= 63 and c[0] == c[1] and c[2] == 0, 70, 74.5)
    cyan = ring(lambda c: c[0] == 0 and c[1] >= 63 and c[1] == c[2], 70, 72.5)
    globe = ring(lambda c: sum(c) > 30, 0, 69)
    red = ring(lambda c: c[0] > 200 and c[1] < 60 and c[2] < 60, 5, 60)
    if yellow < 20: problems.append(f"yellow five-minute marks: {yellow} pixels")
    if cyan < 40: problems.append(f"cyan minute marks: {cyan} pixels")
    if globe < 10000: problems.append(f"globe picture: {globe} lit pixels in the dial")
    if red < 20: problems.append(f"second hand: {red} red pixels")
    white = sum(1 for y in range(8 * U - 30, 8 * U) for x in range(7 * U) if min(pixel(p, x, y)) > 200)
    if white < 100: problems.append(f"date text: {white} white pixels")
    def cell(row, column):  # row 0 is the first week under the header
        return pixel(p, column * U + 2, 9 * U + row * U + 2)
    expected = {(0, 0): (153, 51, 255),   # Sunday 15 November
                (3, 3): (255, 255, 127),  # today, Wednesday 9 December, in the opposite hue
                (3, 4): (127, 127, 255),  # Thursday 10 December
                (6, 6): (51, 153, 255)}   # Saturday 2 January 2027
    for (row, column), colour in expected.items():
        if cell(row, column) != colour:
            problems.append(f"calendar cell {row},{column}: {cell(row, column)} instead of {colour}")
    if pixel(p, 2, 8 * U + 2) != (0, 0, 0): problems.append("the header row has a fill")
    print("ok" if not problems else "; ".join(problems))
elif command == "compare":
    a, b = load(sys.argv[2]), load(sys.argv[3])
    if a[:2] != b[:2]:
        print(f"sizes {a[:2]} and {b[:2]}")
        sys.exit()
    inside = outside = 0
    for y in range(a[1]):
        for x in range(a[0]):
            if pixel(a, x, y) != pixel(b, x, y):
                if text_area(x, y):
                    inside += 1
                else:
                    outside += 1
    print(inside, outside)
elif command == "compare-halves":
    # Whether the clock above and the calendar below are the same in both pictures.
    a, b = load(sys.argv[2]), load(sys.argv[3])
    def same(rows):
        return all(pixel(a, x, y) == pixel(b, x, y) for y in rows for x in range(7 * U))
    print("same" if same(range(8 * U)) else "different", "same" if same(range(8 * U, 16 * U)) else "different")
elif command == "rows":
    # The date line of one picture against another's.
    a, b = load(sys.argv[2]), load(sys.argv[3])
    first, last = 8 * U - 30, 8 * U
    same = all(pixel(a, x, y) == pixel(b, x, y) for y in range(first, last) for x in range(7 * U))
    print("same" if same else "different")
CODE
frame() { python3 "$work/frame.py" "$@"; }

moment=2026-12-09T10:08:30Z
(cd "$work" && TZ=UTC "$linux_program" --at $moment --unit 28 --out linux.png)
status=$?
size=$(frame size "$work/linux.png" 2>/dev/null)
[ $status -eq 0 ] && [ "$size" = 196x448 ] && pass "Linux build writes a 196 x 448 window picture" ||
  fail "Linux build: exit $status, picture $size"
content=$(frame content "$work/linux.png" 2>&1)
[ "$content" = ok ] && pass "dial with globe, yellow and cyan marks, hands, date text; calendar hues and today" ||
  fail "window picture: $content"

(cd "$work" && TZ=UTC "$wine_run" "$windows_program" --at $moment --unit 28 --out windows.png)
status=$?
read -r inside outside <<<"$(frame compare "$work/linux.png" "$work/windows.png" 2>&1)"
if [ $status -eq 0 ] && [ "$outside" = 0 ]; then
  pass "Windows build: the same picture outside the text ($inside text pixels differ)"
else
  fail "Windows build: exit $status, $outside pixels differ outside the text, $inside inside"
fi

# Local time comes from TZ: 10:08:30 UTC is 11:08:30 in Berlin in December.
(cd "$work" && TZ=Europe/Berlin "$linux_program" --at $moment --unit 28 --out berlin.png &&
  TZ=UTC "$linux_program" --at 2026-12-09T11:08:30Z --unit 28 --out utc11.png)
[ "$(frame rows "$work/berlin.png" "$work/utc11.png")" = same ] &&
  [ "$(frame rows "$work/berlin.png" "$work/linux.png")" = different ] &&
  pass "TZ=Europe/Berlin shows the date line of 11:08:30" || fail "TZ=Europe/Berlin does not show 11:08:30"

# --zone draws what TZ draws, byte for byte, for zones of odd offsets and
# daylight saving, ten seconds before and after a change of their offset (one
# far ahead, where the zone file's closing rule holds): and the Windows build,
# reading the zone files it carries, the same hands and calendar outside the
# text.
zone_moments=(
  "Asia/Kathmandu 1985-12-31T18:29:50Z 1985-12-31T18:30:10Z"    # +5:30 becomes +5:45
  "America/St_Johns 2026-03-08T05:29:50Z 2026-03-08T05:30:10Z"  # -3:30 becomes -2:30
  "Australia/Lord_Howe 2090-04-01T14:59:50Z 2090-04-01T15:00:10Z"  # +11 becomes +10:30
)
for entry in "${zone_moments[@]}"; do
  read -r zone before after <<<"$entry"
  for at in "$before" "$after"; do
    name="${zone#*/}-$at"
    (cd "$work" && TZ=UTC "$linux_program" --zone "$zone" --at "$at" --out "zone-$name.png" &&
      TZ=$zone "$linux_program" --at "$at" --out "tz-$name.png")
    check "Linux: --zone $zone at $at draws what TZ=$zone draws" 'cmp -s "$work/zone-$name.png" "$work/tz-$name.png"'
    (cd "$work" && "$wine_run" "$windows_program" --zone "$zone" --at "$at" --out "windows-$name.png")
    read -r inside outside <<<"$(frame compare "$work/zone-$name.png" "$work/windows-$name.png" 2>&1)"
    check "Windows: --zone $zone at $at shows Linux's hands and calendar ($inside text pixels differ)" \
      '[ "$outside" = 0 ]'
  done
done
for program in "$linux_program" "$windows_program"; do
  run=("$program")
  [ "$program" = "$windows_program" ] && run=("$wine_run" "$program")
  refusal=$(cd "$work" && "${run[@]}" --zone Mars/Olympus_Mons --out mars.png 2>&1 >/dev/null)
  status=$?
  check "$(basename "$program"): an unknown zone ends with 2, naming it, and draws nothing" \
    '[ $status = 2 ] && [[ $refusal == *"Mars/Olympus_Mons"* ]] && [ ! -e "$work/mars.png" ]'
done

# The options: Sunday first is the default picture; Monday first changes the
# calendar and nothing above it; earthshine lights the Moon a day from new and
# leaves the full Moon as it was.
(cd "$work" && TZ=UTC "$linux_program" --at $moment --first-weekday sunday --out sunday.png &&
  TZ=UTC "$linux_program" --at $moment --first-weekday monday --out monday.png)
check "--first-weekday sunday draws the default picture" 'cmp -s "$work/sunday.png" "$work/linux.png"'
check "--first-weekday monday changes the calendar alone" \
  '[ "$(frame compare-halves "$work/monday.png" "$work/linux.png")" = "same different" ]'
for entry in "2026-12-09T13:00:20Z different" "2026-12-24T03:45:50Z same"; do
  read -r at expected <<<"$entry"
  (cd "$work" && "$linux_program" --at "$at" --moon-out moon.png && "$linux_program" --at "$at" --earthshine --moon-out lit.png)
  check "--earthshine at $at: the Moon's picture is $expected" \
    '[ "$(cmp -s "$work/moon.png" "$work/lit.png" && echo same || echo different)" = "$expected" ]'
done

finish
