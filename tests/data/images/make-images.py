#!/usr/bin/env python3
"""Writes the small picture files of this folder, byte for byte, with nothing but
the Python standard library. Run it from anywhere: python3 make-images.py"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- PNG

def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def png(width, height, depth, color_type, rows, extra=b"", before_idat=b"", after_idat=b""):
    """rows: list of raw scanline bytes, top row first (filter byte added here)."""
    ihdr = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra + before_idat +
            chunk(b"IDAT", zlib.compress(raw)) + after_idat + chunk(b"IEND", b""))


def u16(*values):
    return b"".join(struct.pack(">H", v) for v in values)


# 8-bit grey, 3 x 2: top row 0, 128, 255; bottom row 10, 20, 30.
write("grey8.png", png(3, 2, 8, 0, [bytes([0, 128, 255]), bytes([10, 20, 30])]))
# 16-bit grey, 3 x 1: 0x12F0 (high byte 0x12, rounding would give 0x13), 0xFFFF, 0.
write("grey16.png", png(3, 1, 16, 0, [u16(0x12F0, 0xFFFF, 0x0000)]))
# 8-bit RGB, 2 x 2: top row red, green; bottom row blue, (10, 20, 30).
rgb_rows = [bytes([255, 0, 0, 0, 255, 0]), bytes([0, 0, 255, 10, 20, 30])]
write("rgb.png", png(2, 2, 8, 2, rgb_rows))
# The same picture under an upper-case name.
write("EARTH.PNG", png(2, 2, 8, 2, rgb_rows))
# 8-bit RGBA, 3 x 1: alpha 255 (opaque), 0 (clear), 100.
write("rgba.png", png(3, 1, 8, 6, [bytes([10, 20, 30, 255, 40, 50, 60, 0, 70, 80, 90, 100])]))
# 8-bit grey with alpha, 2 x 1: grey 77 opaque, grey 200 with alpha 55.
write("grey-alpha.png", png(2, 1, 8, 4, [bytes([77, 255, 200, 55])]))
# 8-bit palette, 2 x 1, entry 0 (1, 2, 3) fully transparent through tRNS,
# entry 1 (250, 251, 252).
write("palette.png", png(2, 1, 8, 3, [bytes([0, 1])],
                         extra=chunk(b"PLTE", bytes([1, 2, 3, 250, 251, 252])) +
                         chunk(b"tRNS", bytes([0]))))
# 16-bit RGB, 2 x 1: (0x1212, 0x3434, 0xFEFE), each sample a byte repeated so
# that every 16-to-8-bit rule agrees; then (0x12F0, 0x0000, 0xFFFF).
write("rgb48.png", png(2, 1, 16, 2, [u16(0x1212, 0x3434, 0xFEFE, 0x12F0, 0x0000, 0xFFFF)]))
# 16-bit RGBA, 1 x 1: (0x5050, 0x6060, 0x7070) with alpha 0x8080.
write("rgba64.png", png(1, 1, 16, 6, [u16(0x5050, 0x6060, 0x7070, 0x8080)]))
# Animated PNG, 1 x 1 grey, two frames: acTL announces 2 frames, the default
# image (IDAT) is frame 0 (grey 10), frame 1 (grey 20) follows in fdAT.
actl = chunk(b"acTL", struct.pack(">II", 2, 0))
fctl0 = chunk(b"fcTL", struct.pack(">IIIIIHHBB", 0, 1, 1, 0, 0, 1, 10, 0, 0))
fctl1 = chunk(b"fcTL", struct.pack(">IIIIIHHBB", 2, 1, 1, 0, 0, 1, 10, 0, 0))
fdat = chunk(b"fdAT", struct.pack(">I", 3) + zlib.compress(b"\x00" + bytes([20])))
write("animated.png", png(1, 1, 8, 0, [bytes([10])], before_idat=actl + fctl0,
                          after_idat=fctl1 + fdat))

# ---------------------------------------------------------------- TIFF

SHORT, LONG, LONG8 = 3, 4, 16


def tiff(pages, big_endian=False, bigtiff=False):
    """pages: list of dicts with width, height, bits (per sample), samples,
    photometric, data (bytes, top row first), optional extra (ExtraSamples value)
    and colormap (list of 16-bit values). One strip per page, no compression."""
    e = ">" if big_endian else "<"
    head_size = 16 if bigtiff else 8
    entry_size = 20 if bigtiff else 12
    count_size = 8 if bigtiff else 2
    next_size = 8 if bigtiff else 4
    inline = 8 if bigtiff else 4

    out = bytearray(head_size)
    ifd_offsets = []
    pending_next = None  # where to patch the previous page's next-IFD offset
    for page in pages:
        # Strip data first, then any out-of-line values, then the IFD.
        strip_offset = len(out)
        out += page["data"]
        if len(out) % 2:
            out += b"\x00"
        spp = page["samples"]
        entries = [
            (256, LONG, [page["width"]]),
            (257, LONG, [page["height"]]),
            (258, SHORT, [page["bits"]] * spp),
            (259, SHORT, [1]),
            (262, SHORT, [page["photometric"]]),
            (273, LONG8 if bigtiff else LONG, [strip_offset]),
            (277, SHORT, [spp]),
            (278, LONG, [page["height"]]),
            (279, LONG8 if bigtiff else LONG, [len(page["data"])]),
            (284, SHORT, [1]),
        ]
        if "colormap" in page:
            entries.append((320, SHORT, page["colormap"]))
        if "extra" in page:
            entries.append((338, SHORT, [page["extra"]]))
        entries.sort()
        encoded = []
        for tag, kind, values in entries:
            fmt = {SHORT: "H", LONG: "I", LONG8: "Q"}[kind]
            payload = struct.pack(e + fmt * len(values), *values)
            if len(payload) <= inline:
                field = payload.ljust(inline, b"\x00")
            else:
                where = len(out)
                out += payload
                if len(out) % 2:
                    out += b"\x00"
                field = struct.pack(e + ("Q" if bigtiff else "I"), where)
            count = struct.pack(e + ("Q" if bigtiff else "I"), len(values))
            encoded.append(struct.pack(e + "HH", tag, kind) + count + field)
        ifd = len(out)
        ifd_offsets.append(ifd)
        if pending_next is not None:
            out[pending_next:pending_next + next_size] = struct.pack(
                e + ("Q" if bigtiff else "I"), ifd)
        out += struct.pack(e + ("Q" if bigtiff else "H"), len(encoded))
        for item in encoded:
            out += item
        pending_next = len(out)
        out += b"\x00" * next_size
    mark = b"MM" if big_endian else b"II"
    if bigtiff:
        head = mark + struct.pack(e + "HHHQ", 43, 8, 0, ifd_offsets[0])
    else:
        head = mark + struct.pack(e + "HI", 42, ifd_offsets[0])
    out[0:head_size] = head
    return bytes(out)


RGB_2X2 = bytes([255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30])
rgb_page = dict(width=2, height=2, bits=8, samples=3, photometric=2, data=RGB_2X2)
# Classic little-endian RGB, 2 x 2, the same picture as rgb.png.
write("rgb.tif", tiff([rgb_page]))
# Classic big-endian RGB: the little-endian probe reads its version word as 10752.
write("rgb-be.tif", tiff([rgb_page], big_endian=True))
# Little-endian BigTIFF (version 43) of the same picture.
write("bigtiff.tif", tiff([rgb_page], bigtiff=True))
# Two pages of the same picture.
write("two-pages.tif", tiff([rgb_page, rgb_page]))
# 16-bit grey, 3 x 1, the samples of grey16.png.
write("grey16.tif", tiff([dict(width=3, height=1, bits=16, samples=1, photometric=1,
                               data=struct.pack("<3H", 0x12F0, 0xFFFF, 0))]))
# 8-bit RGBA with unassociated (straight) alpha, 3 x 1, the pixels of rgba.png.
write("rgba.tif", tiff([dict(width=3, height=1, bits=8, samples=4, photometric=2, extra=2,
                             data=bytes([10, 20, 30, 255, 40, 50, 60, 0, 70, 80, 90, 100]))]))
# 8-bit palette, 2 x 1: entries 0 (1, 2, 3) and 1 (250, 251, 252), 16-bit
# colour map values (byte repeated), the other 254 entries black.
cmap = [0] * 768
for index, (r, g, b) in enumerate([(1, 2, 3), (250, 251, 252)]):
    cmap[index], cmap[256 + index], cmap[512 + index] = r * 257, g * 257, b * 257
write("palette.tif", tiff([dict(width=2, height=1, bits=8, samples=1, photometric=3,
                                colormap=cmap, data=bytes([0, 1]))]))

# ---------------------------------------------------------------- oversized

# A PNG header for 100000 × 30000 RGB pixels (9 GB decoded) with a token of
# image data: a decoder learns the size before it reads any pixel.
write("huge.png", png(1, 1, 8, 2, [bytes(3)]).replace(
    chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)),
    chunk(b"IHDR", struct.pack(">IIBBBBB", 100000, 30000, 8, 2, 0, 0, 0))))
