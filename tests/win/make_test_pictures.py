#!/usr/bin/env python3
"""Writes the pictures of the window tests as a C++ source.

GIF, PNG (zlib), TIFF (uncompressed) and ICO are encoded here (every GIF
pixel code is preceded by a clear code, so no compression table is
needed); the JPEGs come from cjpeg fed a PPM drawn here, and their Exif
blocks are written here. Usage: make_test_pictures.py CJPEG OUTPUT.cpp
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 48, 32  # both pictures: left half red, right half blue


def colour(x, y):
    return (255, 0, 0) if x < W // 2 else (0, 0, 255)


def gif(transparent=None, table_bits=2):
    """The halves picture (indices 0 and 1 of a table of red, blue, black,
    white and black for the rest of its 2 ** table_bits entries), with
    index `transparent` marked transparent when given."""
    out = bytearray(b"GIF89a")
    out += W.to_bytes(2, "little") + H.to_bytes(2, "little")
    out += bytes([0x80 | (table_bits - 1), 0, 0])  # global colour table
    out += bytes([255, 0, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255])
    out += bytes(3 * ((1 << table_bits) - 4))
    if transparent is not None:  # graphic control extension
        out += bytes([0x21, 0xF9, 4, 1, 0, 0, transparent, 0])
    out += b"," + (0).to_bytes(2, "little") * 2
    out += W.to_bytes(2, "little") + H.to_bytes(2, "little") + b"\x00"
    min_code = 2
    clear, end = 1 << min_code, (1 << min_code) + 1
    codes = []
    for y in range(H):
        for x in range(W):
            codes += [clear, 0 if x < W // 2 else 1]
    codes.append(end)
    bits, nbits, data = 0, 0, bytearray()
    for c in codes:  # 3-bit codes, least significant bit first
        bits |= c << nbits
        nbits += 3
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    out.append(min_code)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out += b"\x00;"
    return bytes(out)


def jpeg(cjpeg, w=W, h=H, pixel=colour):
    ppm = bytearray(b"P6\n%d %d\n255\n" % (w, h))
    for y in range(h):
        for x in range(w):
            ppm += bytes(pixel(x, y))
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.ppm")
        with open(src, "wb") as f:
            f.write(ppm)
        return subprocess.run([cjpeg, "-quality", "95", src], check=True,
                              stdout=subprocess.PIPE).stdout


def two_frame_gif():
    """The halves picture, then a second frame all green: only the first
    frame is shown."""
    first = gif()[:-1]  # without the trailer
    out = bytearray(first)
    out += b"," + (0).to_bytes(2, "little") * 2
    out += W.to_bytes(2, "little") + H.to_bytes(2, "little") + b"\x80"
    out += bytes([0, 255, 0, 0, 255, 0])  # local table of 2 entries: green
    codes = []
    for _ in range(W * H):
        codes += [4, 0]  # clear, green
    codes.append(5)
    bits, nbits, data = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += 3
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    out.append(2)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out += b"\x00;"
    return bytes(out)


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def png(w, h, pixel, alpha):
    """pixel(x, y) gives (r, g, b) or (r, g, b, a) when alpha is set."""
    raw = bytearray()
    for y in range(h):
        raw.append(0)  # no filter
        for x in range(w):
            raw += bytes(pixel(x, y))
    header = struct.pack(">IIBBBBB", w, h, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw))) + png_chunk(b"IEND", b""))


def alpha_pixel(x, y):
    # Left third transparent, middle third half-covering red, right third
    # opaque blue.
    if x < W // 3:
        return (255, 0, 0, 0)
    if x < 2 * W // 3:
        return (255, 0, 0, 128)
    return (0, 0, 255, 255)


def tiff(w, h, pixel, orientation=0, rows_per_strip=8):
    """Uncompressed RGB, little-endian, the directory first and the strips
    after it."""
    strips = (h + rows_per_strip - 1) // rows_per_strip
    fields = [(256, 4, [w]), (257, 4, [h]), (258, 3, [8, 8, 8]), (259, 3, [1]), (262, 3, [2]),
              (273, 4, [0] * strips)]
    if orientation:
        fields.append((274, 3, [orientation]))
    fields += [(277, 3, [3]), (278, 4, [rows_per_strip]),
               (279, 4, [w * min(rows_per_strip, h - i * rows_per_strip) * 3 for i in range(strips)])]
    size = lambda f: len(f[2]) * (2 if f[1] == 3 else 4)
    at = 8 + 2 + 12 * len(fields) + 4 + sum(size(f) for f in fields if size(f) > 4)
    fields[5] = (273, 4, [at + i * w * rows_per_strip * 3 for i in range(strips)])
    out = bytearray(b"II*\x00" + struct.pack("<I", 8) + struct.pack("<H", len(fields)))
    extra, tail = 8 + 2 + 12 * len(fields) + 4, bytearray()
    for tag, kind, values in fields:
        packed = b"".join(struct.pack("<H" if kind == 3 else "<I", v) for v in values)
        out += struct.pack("<HHI", tag, kind, len(values))
        if len(packed) <= 4:
            out += packed.ljust(4, b"\x00")
        else:
            out += struct.pack("<I", extra)
            extra += len(packed)
            tail += packed
    out += struct.pack("<I", 0) + tail
    for y in range(h):
        for x in range(w):
            out += bytes(pixel(x, y))
    return bytes(out)


def ico(w, h, pixel):
    """One 32-bit image: header, directory entry, BMP info header, rows
    bottom-up, an empty mask."""
    rows = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b = pixel(x, y)
            rows += bytes((b, g, r, 255))
    mask = bytes(((w + 31) // 32 * 4) * h)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = info + rows + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22) + image


# The orientation pictures: upright they are 48 x 32 with four quadrants.
QUADRANTS = {(0, 0): (255, 0, 0), (1, 0): (0, 255, 0), (0, 1): (0, 0, 255), (1, 1): (255, 255, 255)}


def upright_pixel(x, y):
    return QUADRANTS[(x >= W // 2, y >= H // 2)]


def stored_pixel(orientation):
    """The pixel function of the stored picture that the orientation turns
    into the upright one."""
    swap = orientation >= 5
    sw, sh = (H, W) if swap else (W, H)
    table = {}
    for y in range(H):
        for x in range(W):
            sx, sy = {1: (x, y), 2: (sw - 1 - x, y), 3: (sw - 1 - x, sh - 1 - y), 4: (x, sh - 1 - y),
                      5: (y, x), 6: (y, sh - 1 - x), 7: (sw - 1 - y, sh - 1 - x), 8: (sw - 1 - y, x)}[orientation]
            table[(sx, sy)] = upright_pixel(x, y)
    return sw, sh, lambda x, y: table[(x, y)]


def exif_tiff(orientation, ifd_offset=8, count=None):
    entries = [(271, 2, 4, b"Cam\x00"), (274, 3, 1, struct.pack("<HH", orientation, 0))]
    n = len(entries) if count is None else count
    out = bytearray(b"II*\x00" + struct.pack("<I", ifd_offset) + struct.pack("<H", n))
    for tag, kind, cnt, value in entries:
        out += struct.pack("<HHI", tag, kind, cnt) + value
    return bytes(out + struct.pack("<I", 0))


def with_exif(jpeg_bytes, tiff_bytes, declared=None):
    body = b"Exif\x00\x00" + tiff_bytes
    length = len(body) + 2 if declared is None else declared
    return jpeg_bytes[:2] + b"\xff\xe1" + struct.pack(">H", length) + body + jpeg_bytes[2:]


def array(name, data):
    body = ",".join(str(b) for b in data)
    return ("extern const unsigned char %s[] = {%s};\n"
            "extern const unsigned long %sSize = %d;\n" % (name, body, name, len(data)))


def main():
    cjpeg, output = sys.argv[1], sys.argv[2]
    text = "// Generated by make_test_pictures.py.\n"
    text += "extern const int kTestPictureWidth = %d, kTestPictureHeight = %d;\n" % (W, H)
    text += array("kTestGif", gif()) + array("kTestJpeg", jpeg(cjpeg))
    text += array("kTestGifTwoFrames", two_frame_gif())
    # Full 256-entry tables: without a transparent index, and with blue
    # (the right half) transparent.
    text += array("kTestGifOpaque256", gif(table_bits=8))
    text += array("kTestGifTransparent256", gif(transparent=1, table_bits=8))
    text += array("kTestPng", png(W, H, colour, False))
    text += array("kTestPngAlpha", png(W, H, alpha_pixel, True))
    text += array("kTestTiff", tiff(W, H, colour))
    text += array("kTestIco", ico(W, H, colour))
    # The eight orientations, as JPEGs with an Exif block and as TIFFs.
    for o in range(1, 9):
        sw, sh, pixel = stored_pixel(o)
        text += array("kTestJpegOrientation%d" % o, with_exif(jpeg(cjpeg, sw, sh, pixel), exif_tiff(o)))
        text += array("kTestTiffOrientation%d" % o, tiff(sw, sh, pixel, o))
    # Damaged Exif blocks in good JPEGs stored as orientation 6 would have
    # them: the directory cut off inside the block (it claims two entries,
    # the block holds one), and the directory offset pointing outside.
    sw, sh, pixel = stored_pixel(1)
    good = jpeg(cjpeg, sw, sh, pixel)
    cut = exif_tiff(6)[:8 + 2 + 12]
    text += array("kTestJpegExifCut", with_exif(good, cut))
    text += array("kTestJpegExifOutside", with_exif(good, exif_tiff(6, ifd_offset=0x7FFFFFF0)))
    with open(output, "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
