#!/usr/bin/python3
"""Writes the small planetary raster samples that the image tests read.

The FITS files are written by astropy, a writer that shares no code with ours;
the PDS IMG files are written here by hand, byte by byte, following the attached
label layout (text label padded to whole records, samples after it). Every
sample value is a simple formula of its column x and row y (row 0 written first),
so the tests can recompute what they must read.

Run from anywhere:  /usr/bin/python3 tests/data/planetary/make-samples.py
"""
import os

import numpy as np
from astropy.io import fits

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 5, 3


def grid(dtype, formula):
    y, x = np.mgrid[0:HEIGHT, 0:WIDTH]
    return formula(x, y).astype(dtype)


def write_fits(name, data, extra_cards=0):
    hdu = fits.PrimaryHDU(data)
    for i in range(extra_cards):
        hdu.header[f"COMM{i:04d}"] = (i, "padding card")
    hdu.writeto(os.path.join(HERE, name), overwrite=True)


def write_img(name, sample_bits, samples, record_bytes=64, crlf=True):
    end = "\r\n" if crlf else "\n"
    lines = [
        "PDS_VERSION_ID = PDS3",
        "RECORD_TYPE = FIXED_LENGTH",
        f"RECORD_BYTES = {record_bytes}",
        "FILE_RECORDS = 0",
        "LABEL_RECORDS = 0",
        "^IMAGE = 0",
        "OBJECT = IMAGE",
        f"  LINES = {HEIGHT}",
        f"  LINE_SAMPLES = {WIDTH}",
        "  SAMPLE_TYPE = LSB_INTEGER" if sample_bits > 8 else "  SAMPLE_TYPE = UNSIGNED_INTEGER",
        f"  SAMPLE_BITS = {sample_bits}",
        "END_OBJECT = IMAGE",
        "END",
    ]
    # The label's own length decides its record count, which the label states.
    for _ in range(3):
        text = end.join(lines) + end
        label_records = -(-len(text) // record_bytes)
        lines[4] = f"LABEL_RECORDS = {label_records}"
        lines[5] = f"^IMAGE = {label_records + 1}"
        body = samples.tobytes()
        lines[3] = f"FILE_RECORDS = {label_records + -(-len(body) // record_bytes)}"
    text = (end.join(lines) + end).encode("ascii")
    assert len(text) <= label_records * record_bytes
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(text.ljust(label_records * record_bytes, b" "))
        out.write(body)


def main():
    # Integer samples cover both signs and the extremes of each type.
    write_fits("bitpix8.fits", grid(np.uint8, lambda x, y: x * 50 + y * 2))
    write_fits("bitpix16.fits", grid(np.int16, lambda x, y: x * 16383 - 32768 + y))
    write_fits("bitpix32.fits", grid(np.int32, lambda x, y: x * 1073741823 - 2147483648 + y))
    write_fits("bitpix-32.fits", grid(np.float32, lambda x, y: x * 0.25 - y * 0.5))
    write_fits("bitpix-64.fits", grid(np.float64, lambda x, y: x * 0.125 + y * 3.0 - 1.0))
    # Forty extra cards push END past the first 2880-byte block.
    write_fits("long-header.fits", grid(np.int16, lambda x, y: x + 10 * y), extra_cards=40)
    # A cube: three axes, refused without a message.
    write_fits("cube.fits", np.zeros((2, HEIGHT, WIDTH), dtype=np.int16))

    write_img("gray8.img", 8, grid(np.uint8, lambda x, y: x * 40 + y * 3), crlf=True)
    write_img("gray16.img", 16, grid("<u2", lambda x, y: x * 4660 + y * 256 + 7), crlf=False)


if __name__ == "__main__":
    main()
