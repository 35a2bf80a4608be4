"""Finds the clock in screenshots of a whole Wayland output (binary PPM
pictures), for the Wayland window tests, where the test cannot ask the
compositor where a window or a layer surface stands.
  find SCREEN PICTURE    prints "LEFT TOP" of every place where PICTURE shows
                         in SCREEN pixel for pixel, one a line; exit 1 if none
  changed BEFORE AFTER   prints "WIDTHxHEIGHT+LEFT+TOP", the smallest rectangle
                         holding every pixel that differs; exit 1 if none
  grey SCREEN Y LEFT WIDTH
                         prints the share in per cent of the pixels of row Y
                         from LEFT, WIDTH pixels, that are grey (red, green and
                         blue within 2 of each other)"""
import sys

import numpy

import ppm


def read_ppm(path):
    width, height, pixels = ppm.read_ppm(path)
    return numpy.frombuffer(pixels, dtype=numpy.uint8).reshape(height, width, 3)


def find(screen, picture):
    height, width = picture.shape[:2]
    ys, xs = numpy.mgrid[0:screen.shape[0] - height + 1, 0:screen.shape[1] - width + 1]
    ys, xs = ys.ravel(), xs.ravel()
    # Candidates narrowed by a grid of sample pixels, then the whole picture.
    for sy in numpy.linspace(0, height - 1, 7).astype(int):
        for sx in numpy.linspace(0, width - 1, 7).astype(int):
            keep = numpy.all(screen[ys + sy, xs + sx] == picture[sy, sx], axis=1)
            ys, xs = ys[keep], xs[keep]
    return [(x, y) for y, x in zip(ys, xs)
            if numpy.array_equal(screen[y:y + height, x:x + width], picture)]


def changed(before, after):
    if before.shape != after.shape:
        return (0, 0, after.shape[1], after.shape[0])
    ys, xs = numpy.nonzero(numpy.any(before != after, axis=2))
    if len(xs) == 0:
        return None
    return (xs.min(), ys.min(), xs.max() + 1 - xs.min(), ys.max() + 1 - ys.min())


if sys.argv[1] == "grey":
    y, left, width = (int(number) for number in sys.argv[3:6])
    row = read_ppm(sys.argv[2])[y, left:left + width].astype(int)
    print(round(100 * float(numpy.mean(row.max(axis=1) - row.min(axis=1) <= 2))))
    sys.exit(0)
kind, first, second = sys.argv[1], read_ppm(sys.argv[2]), read_ppm(sys.argv[3])
if kind == "find":
    places = find(first, second)
    for x, y in places:
        print(f"{x} {y}")
    sys.exit(0 if places else 1)
if kind == "changed":
    box = changed(first, second)
    if box is None:
        sys.exit(1)
    print(f"{box[2]}x{box[3]}+{box[0]}+{box[1]}")
    sys.exit(0)
sys.exit(2)
