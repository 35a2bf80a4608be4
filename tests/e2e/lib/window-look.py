"""Compares screenshots of the clock window (binary PPM pictures of its client
area) for the end-to-end window tests."""
import sys

from ppm import read_ppm


def differing(a, b, rows):
    """The (x, y) of every pixel in the first rows rows where a and b differ."""
    width = a[0]
    return [(i // 3 % width, i // 3 // width) for i in range(0, 3 * width * rows, 3)
            if a[2][i:i + 3] != b[2][i:i + 3]]

kind, first, second = sys.argv[1], read_ppm(sys.argv[2]), read_ppm(sys.argv[3])
if kind == "compare":
    # The window against the picture it should show: every pixel the same.
    if first[:2] != second[:2]:
        print(f"the window is {first[0]} x {first[1]}, the picture {second[0]} x {second[1]}")
        sys.exit(1)
    changed = differing(first, second, first[1])
    if changed:
        xs, ys = [x for x, _ in changed], [y for _, y in changed]
        print(f"{len(changed)} pixels differ, within x {min(xs)}…{max(xs)}, y {min(ys)}…{max(ys)}")
    sys.exit(1 if changed else 0)
if kind == "differs":
    # Two screenshots of the running clock: the face (the top half) moved.
    changed = differing(first, second, first[1] // 2) if first[:2] == second[:2] else [(0, 0)]
    print(f"{len(changed)} pixels of the clock face changed")
    sys.exit(0 if changed else 1)
sys.exit(2)
