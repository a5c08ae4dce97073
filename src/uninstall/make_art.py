#!/usr/bin/env python3
"""Draws the survey picture (survey.gif, 150 x 100) and the wrapper's icon
(qmunins.ico, 16/32/48 pixels): a target with an arrow that missed it.

Standard library only. Run it from anywhere; the files are written next to it.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette: index 0..7 background shades, then the drawing colours.
BG_TOP = (253, 240, 213)
BG_BOTTOM = (243, 201, 139)
SHADES = 8
RED = 8
CREAM = 9
SHAFT = 10
FLETCH = 11
RIM = 12


def palette():
    colours = []
    for i in range(SHADES):
        t = i / (SHADES - 1)
        colours.append(tuple(round(a + (b - a) * t) for a, b in zip(BG_TOP, BG_BOTTOM)))
    colours += [(192, 0, 0), (253, 240, 213), (58, 58, 58), (30, 90, 160), (120, 0, 0)]
    while len(colours) < 16:
        colours.append((0, 0, 0))
    return colours


def on_segment(px, py, x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2.0


def in_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    p = (px, py)
    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def draw(width, height):
    """Returns rows of palette indices for a picture of the given size."""
    s = min(width / 150.0, height / 100.0)
    cx, cy = width * 0.42, height * 0.5
    rings = [(38 * s, RIM), (35 * s, RED), (26 * s, CREAM), (17 * s, RED), (8 * s, CREAM), (3.5 * s, RED)]
    # The arrow came in from the upper right and landed beside the target.
    tip = (width * 0.80, height * 0.78)
    tail = (width * 0.98, height * 0.10)
    ang = math.atan2(tip[1] - tail[1], tip[0] - tail[0])
    head = 9 * s
    ha = (tip[0], tip[1])
    hb = (tip[0] - head * math.cos(ang - 0.45), tip[1] - head * math.sin(ang - 0.45))
    hc = (tip[0] - head * math.cos(ang + 0.45), tip[1] - head * math.sin(ang + 0.45))
    rows = []
    for y in range(height):
        shade = min(SHADES - 1, y * SHADES // height)
        row = []
        for x in range(width):
            px, py = x + 0.5, y + 0.5
            colour = shade
            r = math.hypot(px - cx, py - cy)
            for radius, ring in rings:
                if r <= radius:
                    colour = ring
            if on_segment(px, py, tail[0], tail[1], tip[0], tip[1], max(1.0, 2.2 * s)):
                colour = SHAFT
            if in_triangle(px, py, ha, hb, hc):
                colour = SHAFT
            # Fletching: two short vanes on either side of the shaft's end.
            along = (tail[0] + 10 * s * math.cos(ang), tail[1] + 10 * s * math.sin(ang))
            for sign in (-1, 1):
                vane = (tail[0] - sign * 4 * s * math.sin(ang), tail[1] + sign * 4 * s * math.cos(ang))
                if on_segment(px, py, along[0], along[1], vane[0], vane[1], max(1.0, 2.5 * s)):
                    colour = FLETCH
            row.append(colour)
        rows.append(row)
    return rows


def lzw(indices, min_code_size):
    """GIF flavour of LZW: variable code width, clear code at a full table."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0
    width = min_code_size + 1

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    current = ()
    for value in indices:
        candidate = current + (value,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            if next_code == (1 << width) and width < 12:
                width += 1
            next_code += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        current = (value,)
    if current:
        emit(table[current])
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(rows):
    height, width = len(rows), len(rows[0])
    colours = palette()
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | 0x30 | 3, 0, 0)  # 16-entry global table
    for c in colours:
        data += bytes(c)
    data += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data.append(4)
    packed = lzw([v for row in rows for v in row], 4)
    for i in range(0, len(packed), 255):
        chunk = packed[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00\x3b"
    return bytes(data)


def icon_image(size):
    rows = draw(size, size)
    colours = palette()
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for v in row:
            r, g, b = colours[v]
            pixels += bytes((b, g, r, 255))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # all opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + mask


def ico(sizes):
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return bytes(out)


def main():
    with open(os.path.join(HERE, "survey.gif"), "wb") as f:
        f.write(gif(draw(150, 100)))
    with open(os.path.join(HERE, "qmunins.ico"), "wb") as f:
        f.write(ico([16, 32, 48]))


if __name__ == "__main__":
    main()
