#!/usr/bin/env python3
"""Draw the Quillmark logo shown in the about box and pack it into logo.ico.

The mark is a white pen nib, point down to the left, on a rounded square of
strong blue: the nib's left half is lit, its right half in light shade, with
the slit and the breather hole cut through to the blue.  Each size (48, 32
and 16 pixels; the 48-pixel image comes first) is drawn separately with 4x4
supersampling and stored as a 32-bit BGRA bitmap with an AND mask.
Standard library only; the output is deterministic.

    python3 src/dialogs/art/make_logo.py [output.ico]
"""

import math
import os
import sys

# The drawing helpers all the art scripts share.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "common", "art"))
from paint import build_ico, clamp01, inside_rounded_rect, lerp, mix, render_icon, write_file  # noqa: E402

SIZES = (48, 32, 16)
SS = 4  # supersampling factor per axis

BLUE_TOP = (0.17, 0.47, 0.95)
BLUE_BOTTOM = (0.03, 0.24, 0.70)
BLUE_EDGE = (0.02, 0.14, 0.45)
NIB_LIT = (1.0, 1.0, 1.0)
NIB_SHADE = (0.78, 0.86, 0.98)

TIP = (0.25, 0.75)          # the nib's point, in icon coordinates 0..1
LENGTH = 0.72               # from the point to the top of the nib
AXIS = (1 / math.sqrt(2), -1 / math.sqrt(2))
ACROSS = (1 / math.sqrt(2), 1 / math.sqrt(2))


def nib_half_width(s):
    """Half the nib's width at s (0 at the point, 1 at the top), or None
    where there is no nib: the point swells to the shoulders, narrows a
    little, then a notch parts it from the band that goes into the holder."""
    if s < 0.0 or s > 1.0:
        return None
    if s <= 0.60:
        return 0.25 * (1.0 - (1.0 - s / 0.60) ** 2)
    if s <= 0.80:
        return lerp(0.25, 0.21, (s - 0.60) / 0.20)
    if s <= 0.85:
        return 0.16
    return 0.20


def nib(u, v, size):
    """'lit', 'shade' or None: which part of the nib covers u, v."""
    dx, dy = u - TIP[0], v - TIP[1]
    s = (dx * AXIS[0] + dy * AXIS[1]) / LENGTH
    t = (dx * ACROSS[0] + dy * ACROSS[1]) / LENGTH
    w = nib_half_width(s)
    if w is None or abs(t) > w:
        return None
    # Slit from near the point to the breather hole; wider at small sizes so
    # that it still shows.
    slit = 0.020 if size > 16 else 0.045
    hole_s, hole_r = 0.50, (0.065 if size > 16 else 0.0)
    if 0.05 < s < hole_s and abs(t) < slit:
        return None
    if hole_r and (s - hole_s) ** 2 + t * t < hole_r ** 2:
        return None
    return "lit" if t < 0 else "shade"


def sample(u, v, size):
    """Colour (r, g, b, a), components 0..1, at icon coordinates u, v in 0..1."""
    x0, y0, x1, y1 = 0.03, 0.03, 0.97, 0.97
    radius = 0.21
    if not inside_rounded_rect(u, v, x0, y0, x1, y1, radius):
        return (0.0, 0.0, 0.0, 0.0)
    px = 1.0 / size                                   # one pixel in icon units
    edge = 1.0 if size <= 16 else 1.2
    if not inside_rounded_rect(u, v, x0 + edge * px, y0 + edge * px, x1 - edge * px, y1 - edge * px,
                               radius - edge * px):
        return BLUE_EDGE + (1.0,)
    c = mix(BLUE_TOP, BLUE_BOTTOM, clamp01((v - y0) / (y1 - y0)))
    # A soft sheen across the upper half, and a fine highlight along the top.
    c = mix(c, (1.0, 1.0, 1.0), 0.10 * clamp01(1.0 - ((u - 0.35) ** 2 + (v - 0.10) ** 2) / 0.30))
    if size > 16 and not inside_rounded_rect(u, v, x0, y0 + 2.2 * px, x1, y1, radius):
        c = mix(c, (1.0, 1.0, 1.0), 0.28)
    part = nib(u, v, size)
    if part is None and size > 16:
        shadow = nib(u - 0.7 * px * 1.5, v - 1.1 * px * 1.5, size)
        if shadow is not None:
            c = mix(c, (0.0, 0.05, 0.25), 0.45)      # the nib's shadow on the blue
    if part == "lit":
        c = NIB_LIT
    elif part == "shade":
        c = NIB_SHADE
    return c + (1.0,)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "logo.ico")
    write_file(path, build_ico(SIZES, lambda size: render_icon(size, sample, SS)))


if __name__ == "__main__":
    main()
