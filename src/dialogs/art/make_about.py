#!/usr/bin/env python3
"""Draw the about box's product picture, about.jpg (80 x 80).

A slide show at a glance: three pictures lie in a loose, tilted stack on a
deep blue ground.  The two at the back are plain photo prints (a sunset and a
sea); the one on top sits in the program icon's gilded frame and shows the
icon's landscape: blue sky, sun, a snow-capped mountain and a green hill.
Each picture casts a soft shadow.  Drawn with 4x4 supersampling, written as
PPM and encoded with cjpeg (libjpeg-turbo).  Standard library only; the
output is deterministic.

    python3 src/dialogs/art/make_about.py [output.jpg]
"""

import math
import os
import shutil
import subprocess
import sys
import tempfile

# The drawing helpers all the art scripts share.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "common", "art"))
from paint import clamp01, mix, render_rgb, smoothstep  # noqa: E402

SIZE = 80
SS = 4
JPEG_QUALITY = 92


def box_distance(x, y, hw, hh, r):
    """Signed distance to a rounded box centred on the origin, positive inside."""
    qx, qy = abs(x) - hw + r, abs(y) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0)
    return r - outside


# ---------------------------------------------------------- the pictures --

def landscape(px, py):
    """The program icon's landscape, px and py in 0..1."""
    c = mix((0.16, 0.38, 0.78), (0.62, 0.84, 0.98), py)
    d2 = (px - 0.76) ** 2 + (py - 0.26) ** 2
    if d2 < 0.13 ** 2:
        c = (1.0, 0.84, 0.22)
    elif d2 < 0.20 ** 2:
        c = mix(c, (1.0, 0.93, 0.6), 0.35)
    peak_x, peak_y, base_y = 0.36, 0.20, 0.90
    half = 0.55 * (py - peak_y) / (base_y - peak_y)
    if py >= peak_y and abs(px - peak_x) <= half:
        lit = px < peak_x
        c = (0.46, 0.50, 0.60) if lit else (0.34, 0.37, 0.47)
        if py < peak_y + 0.17 + 0.03 * math.sin(px * 40.0):
            c = (0.97, 0.98, 1.0) if lit else (0.82, 0.86, 0.94)
    hill = 0.66 + 0.40 * (px - 0.8) ** 2
    if py > hill + 0.02 * (1 - px):
        c = mix((0.36, 0.70, 0.28), (0.20, 0.50, 0.18), clamp01((py - hill) / 0.3))
    return c


def sunset(px, py):
    c = mix((0.36, 0.20, 0.52), (1.0, 0.62, 0.30), py ** 0.8)
    d = math.hypot(px - 0.30, py - 0.38)
    if d < 0.13:
        c = (1.0, 0.90, 0.62)
    elif d < 0.22:
        c = mix(c, (1.0, 0.85, 0.55), 0.4)
    ridge = 0.56 + 0.06 * math.sin(px * 9.0 + 1.0) + 0.03 * math.sin(px * 23.0)
    if py > ridge:
        c = (0.24, 0.12, 0.26)
    return c


def seascape(px, py):
    if py < 0.55:
        c = mix((0.20, 0.48, 0.82), (0.70, 0.85, 0.95), py / 0.55)
        cloud = ((px - 0.62) / 0.22) ** 2 + ((py - 0.25) / 0.08) ** 2
        if cloud < 1.0:
            c = mix(c, (1.0, 1.0, 1.0), 0.85)
        return c
    c = mix((0.14, 0.45, 0.66), (0.04, 0.22, 0.42), (py - 0.55) / 0.45)
    if abs(math.sin(py * 60.0 + px * 3.0)) > 0.93 and py < 0.8:
        c = mix(c, (0.7, 0.85, 0.95), 0.35)
    return c


class Card:
    """One picture of the stack: a rotated rounded box with a border."""

    def __init__(self, cx, cy, w, h, degrees, border, gilded, content):
        self.cx, self.cy, self.hw, self.hh = cx, cy, w / 2.0, h / 2.0
        a = math.radians(degrees)
        self.cos, self.sin = math.cos(a), math.sin(a)
        self.border, self.gilded, self.content = border, gilded, content

    def local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return dx * self.cos + dy * self.sin, -dx * self.sin + dy * self.cos

    def shadow(self, x, y):
        """Opacity of the card's soft shadow, cast down and to the right."""
        lx, ly = self.local(x - 1.6, y - 2.4)
        return 0.55 * smoothstep(-2.8, 1.2, box_distance(lx, ly, self.hw, self.hh, 1.5))

    def colour(self, x, y):
        """(r, g, b, coverage) of the card at x, y."""
        lx, ly = self.local(x, y)
        d = box_distance(lx, ly, self.hw, self.hh, 1.5)
        if d <= 0:
            return None
        b = self.border
        inner = box_distance(lx, ly, self.hw - b, self.hh - b, 0.0)
        if inner > 0:
            px = (lx + self.hw - b) / (2 * (self.hw - b))
            py = (ly + self.hh - b) / (2 * (self.hh - b))
            c = self.content(px, py)
            if inner < 0.8:                          # the picture's shaded edge
                c = mix(c, (0.0, 0.0, 0.0), 0.35)
            return c
        if self.gilded:
            gold, light, dark = (0.86, 0.66, 0.26), (1.0, 0.90, 0.55), (0.52, 0.34, 0.10)
            if d < b * 0.35:                          # outer bevel: light above left
                lit = ly < -self.hh + b or lx < -self.hw + b
                return mix(gold, light if lit else dark, 0.6)
            if -inner < b * 0.3:                      # inner bevel: the rebate in shadow
                return dark
            return mix(gold, light, 0.15 * clamp01(-ly / self.hh))
        return mix((0.99, 0.98, 0.95), (0.86, 0.85, 0.82), clamp01((ly + self.hh) / (2 * self.hh)))


CARDS = (  # back to front
    Card(30.0, 28.0, 44.0, 34.0, -17.0, 3.0, False, sunset),
    Card(50.0, 29.0, 44.0, 34.0, 11.0, 3.0, False, seascape),
    Card(40.0, 47.0, 54.0, 42.0, -4.0, 5.0, True, landscape),
)


def background(x, y):
    """Deep blue, brighter behind the stack, with a soft vignette."""
    d = math.hypot(x - 42.0, y - 38.0) / SIZE
    return mix((0.25, 0.42, 0.72), (0.05, 0.11, 0.26), smoothstep(0.0, 0.75, d))


def sample(x, y):
    c = background(x, y)
    for card in CARDS:
        c = mix(c, (0.0, 0.02, 0.08), card.shadow(x, y))
        top = card.colour(x, y)
        if top is not None:
            c = top
    return c


def render():
    """RGB rows (top first) as bytes."""
    return [bytes(v for px in row for v in px) for row in render_rgb(SIZE, SIZE, sample, SS)]


def write_jpeg(path, width, height, rows):
    cjpeg = shutil.which("cjpeg") or "/usr/bin/cjpeg"
    fd, ppm = tempfile.mkstemp(suffix=".ppm")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height))
            for r in rows:
                f.write(r)
        with open(path, "wb") as out:
            # 4:4:4 sampling keeps the thin frames and edges crisp at this size.
            subprocess.run([cjpeg, "-quality", str(JPEG_QUALITY), "-sample", "1x1", "-optimize", ppm],
                           stdout=out, check=True)
    finally:
        os.unlink(ppm)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "about.jpg")
    write_jpeg(path, SIZE, SIZE, render())
    print("wrote %s (%d bytes)" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main()
