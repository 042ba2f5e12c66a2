"""Pixels of the game's screenshots for the end-to-end scripts.

design_pixels(path) reads a PNG the game wrote and returns pixel(dx, dy): the
RGB colour at a point of the 1024 x 768 design area, which the game draws
centred in its 1366 x 768 virtual screen, scaled to the picture.
"""
import struct, zlib

def read_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, ctype = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    assert depth == 8 and ctype in (2, 6), "unexpected PNG format"
    bpp = 4 if ctype == 6 else 3
    raw, stride, rows, prev = zlib.decompress(idat), w * bpp, [], bytearray(w * bpp)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return w, h, bpp, rows


def design_pixels(path):
    w, h, bpp, rows = read_png(path)
    scale = min(w / 1366, h / 768)
    ox, oy = (w - 1366 * scale) / 2 + 171 * scale, (h - 768 * scale) / 2

    def pixel(dx, dy):
        x, y = int(ox + dx * scale), int(oy + dy * scale)
        return tuple(rows[y][x * bpp:x * bpp + 3])

    return pixel
