"""Reads binary PPM pictures, as ImageMagick and the screenshot tools write
them, for the end-to-end window tests."""


def read_ppm(path):
    """The width, the height and the pixels (red, green, blue bytes, top row
    first) of the binary PPM file at path."""
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
    return width, height, data[pos + 1:pos + 1 + 3 * width * height]
