"""Checks on screenshots of the clock window (binary PPM pictures of its client
area), for the end-to-end window tests."""
import sys

def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]

def pixels(picture, top, bottom):
    width, _, rgb = picture
    for y in range(top, bottom):
        for x in range(width):
            i = 3 * (y * width + x)
            yield x, y, rgb[i], rgb[i + 1], rgb[i + 2]

kind, path = sys.argv[1], sys.argv[2]
picture = read_ppm(path)
width, height, _ = picture
half = height // 2
if kind == "dial":
    # The globe fills a disc around (3.5U, 3.5U) with the many colours of a
    # picture; the marks and hands are yellow and cyan.
    unit = height // 16
    globe, lit, disc, yellow, cyan = set(), 0, 0, 0, 0
    for x, y, r, g, b in pixels(picture, 0, half):
        if (x - 3.5 * unit) ** 2 + (y - 3.5 * unit) ** 2 < (2 * unit) ** 2:
            globe.add((r, g, b))
            disc += 1
            lit += r + g + b > 60
        yellow += r > 180 and g > 180 and b < 100
        cyan += r < 100 and g > 180 and b > 180
    print(f"globe {lit / disc:.2f} lit in {len(globe)} colours, {yellow} yellow and {cyan} cyan pixels")
    sys.exit(0 if 10 * lit > 3 * disc and len(globe) > 500 and yellow > 20 and cyan > 20 else 1)
if kind == "calendar":
    unit = height // 16
    coloured, white_column = 0, 0
    for x, y, r, g, b in pixels(picture, half, height):
        coloured += max(r, g, b) - min(r, g, b) > 60
        white_column += x == unit and r > 240 and g > 240 and b > 240
    share = coloured / (width * half)
    print(f"{share:.2f} of the calendar coloured, {white_column} white pixels on the first grid line")
    sys.exit(0 if share > 0.4 and white_column > 0.8 * half else 1)
if kind == "differs":
    other = read_ppm(sys.argv[3])
    top_a = bytes(picture[2][:3 * width * half])
    top_b = bytes(other[2][:3 * width * half])
    changed = sum(1 for i in range(0, len(top_a), 3) if top_a[i:i + 3] != top_b[i:i + 3])
    print(f"{changed} pixels of the clock face changed")
    sys.exit(0 if changed > 0 else 1)
sys.exit(2)
