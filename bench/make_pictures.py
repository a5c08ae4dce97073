#!/usr/bin/env python3
"""Writes the bench pictures: JPEGs of about 1, 12 and 48 megapixels and a
screen-size JPEG, BMP, GIF, PNG and TIFF (uncompressed) (cjpeg and
ImageMagick's convert encode them).
Every picture has a red block at its centre; the rest is gradients with
noise, so the JPEGs carry realistic detail.

Usage: make_pictures.py OUTDIR SCREEN_W SCREEN_H
"""
import os
import random
import subprocess
import sys

out, sw, sh = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(out, exist_ok=True)
rng = random.Random(7)


def ppm(path, w, h):
    templates = []
    for k in range(64):
        row = bytearray(w * 3)
        for x in range(w):
            n = rng.randrange(48)
            row[3 * x] = (x * 255 // w + n) & 0xFF
            row[3 * x + 1] = (k * 4 + n) & 0xFF
            row[3 * x + 2] = (255 - x * 255 // w + n) & 0xFF
        templates.append(row)
    bx0, bx1, by0, by1 = w // 2 - w // 10, w // 2 + w // 10, h // 2 - h // 10, h // 2 + h // 10
    red = b"\xff\x00\x00" * (bx1 - bx0)
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        for y in range(h):
            row = templates[(y * 7 + y // 64) % 64]
            if by0 <= y < by1:
                row = row[:3 * bx0] + red + row[3 * bx1:]
            f.write(row)


def jpeg(name, w, h):
    src = os.path.join(out, name + ".ppm")
    ppm(src, w, h)
    with open(os.path.join(out, name + ".jpg"), "wb") as f:
        subprocess.run(["cjpeg", "-quality", "85", src], check=True, stdout=f)
    return src


for name, w, h in (("1mp", 1152, 864), ("12mp", 4000, 3000), ("48mp", 8000, 6000)):
    if not os.path.exists(os.path.join(out, name + ".jpg")):
        os.unlink(jpeg(name, w, h))
src = jpeg("screen", sw, sh)
subprocess.run(["convert", src, "-type", "TrueColor", "BMP3:" + os.path.join(out, "screen.bmp")], check=True)
subprocess.run(["convert", src, "-colors", "256", os.path.join(out, "screen.gif")], check=True)
subprocess.run(["convert", src, "PNG24:" + os.path.join(out, "screen.png")], check=True)
subprocess.run(["convert", src, "-compress", "None", "TIFF:" + os.path.join(out, "screen.tif")], check=True)
os.unlink(src)
