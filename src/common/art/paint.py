"""Drawing helpers the art scripts share: colour arithmetic, rounded shapes,
supersampled icon images and pictures, ICO and BMP packing and writing what
was made.

Standard library only; everything here is deterministic, so a script run
again writes the same bytes.
"""

import struct


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def clamp01(t):
    return 0.0 if t < 0.0 else 1.0 if t > 1.0 else t


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def inside_rounded_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def render_icon(size, sample, ss=4):
    """One icon image: rows (top first) of (b, g, r, a) byte tuples, each pixel
    the average of ss x ss samples of sample(u, v, size), which gives
    (r, g, b, a) with components 0..1 at icon coordinates u, v in 0..1."""
    rows = []
    n = ss * ss
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0.0
            for sy in range(ss):
                for sx in range(ss):
                    u = (x + (sx + 0.5) / ss) / size
                    v = (y + (sy + 0.5) / ss) / size
                    cr, cg, cb, ca = sample(u, v, size)
                    r += cr * ca
                    g += cg * ca
                    b += cb * ca
                    a += ca
            if a > 0:
                r, g, b = r / a, g / a, b / a   # un-premultiply
            alpha = a / n
            row.append(tuple(int(round(clamp01(c) * 255)) for c in (b, g, r, alpha)))
        rows.append(row)
    return rows


def bmp_entry(size, rows):
    """A DIB as stored in an ICO: header, bottom-up BGRA pixels, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for b, g, r, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:                      # fully transparent: mask bit set
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def build_ico(sizes, draw):
    """An ICO of one 32-bit image per size, each drawn by draw(size)."""
    images = [(s, bmp_entry(s, draw(s))) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def render_rgb(width, height, sample, ss=4):
    """RGB rows (top first) of (r, g, b) byte tuples, each pixel the average
    of ss x ss samples of sample(x, y), which gives (r, g, b) with components
    0..1 at picture coordinates x, y in pixels."""
    rows = []
    n = ss * ss
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    c = sample(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss)
                    for i in range(3):
                        acc[i] += c[i]
            row.append(tuple(int(round(clamp01(v / n) * 255)) for v in acc))
        rows.append(row)
    return rows


def bmp24(rows):
    """A 24-bit bottom-up BMP file of rows (top first) of (r, g, b) bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + bytes(data)


def write_file(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))
