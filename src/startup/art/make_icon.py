#!/usr/bin/env python3
"""Draw Tessaly's program icon and pack it into Tessaly.ico.

The icon is a small gilded picture frame holding a landscape: a blue sky, a
yellow sun, a snow-capped mountain and a green hill.  Each size (16, 32 and
48 pixels) is drawn separately with 4x4 supersampling, so edges are smooth,
and stored as a 32-bit BGRA bitmap with an AND mask.  Standard library only;
the output is deterministic.

    python3 src/startup/art/make_icon.py [output.ico]
"""

import os
import sys

# The drawing helpers all the art scripts share.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "common", "art"))
from paint import build_ico, inside_rounded_rect, mix, render_icon, write_file  # noqa: E402

SIZES = (16, 32, 48)
SS = 4  # supersampling factor per axis


def sample(u, v, size):
    """Colour (r, g, b, a), components 0..1, at icon coordinates u, v in 0..1."""
    # Proportions depend a little on size so the frame stays readable at 16 px.
    border = 0.14 if size <= 16 else 0.11
    shadow = 0.0 if size <= 16 else 0.05
    x0, y0 = 0.02, 0.06
    x1, y1 = 0.98 - shadow, 0.94 - shadow
    radius = 0.07

    if not inside_rounded_rect(u, v, x0, y0, x1, y1, radius):
        # soft drop shadow down and to the right
        if shadow and inside_rounded_rect(u - shadow, v - shadow, x0, y0, x1, y1, radius):
            return (0.0, 0.0, 0.0, 0.35)
        return (0.0, 0.0, 0.0, 0.0)

    ix0, iy0, ix1, iy1 = x0 + border, y0 + border, x1 - border, y1 - border
    if not (ix0 <= u <= ix1 and iy0 <= v <= iy1):
        # The frame: gold, lit from the top left, with a bevel.
        d_out = min(u - x0, x1 - u, v - y0, y1 - v)
        d_in = min(abs(u - ix0), abs(u - ix1), abs(v - iy0), abs(v - iy1))
        gold = (0.86, 0.66, 0.26)
        light = (1.0, 0.90, 0.55)
        dark = (0.52, 0.34, 0.10)
        c = gold
        if d_out < border * 0.3:
            c = mix(gold, light, 0.6) if (u - x0 < v - y0 or v - y0 < border * 0.3) and u + v < 1.0 else mix(gold, dark, 0.5)
        elif d_in < border * 0.3:
            c = dark
        return c + (1.0,)

    # The picture inside the frame, in its own 0..1 coordinates.
    px = (u - ix0) / (ix1 - ix0)
    py = (v - iy0) / (iy1 - iy0)

    sky = mix((0.16, 0.38, 0.78), (0.62, 0.84, 0.98), py)
    c = sky
    # sun with a faint halo
    dx, dy = px - 0.74, py - 0.27
    d2 = dx * dx + dy * dy
    if d2 < 0.17 ** 2:
        c = (1.0, 0.84, 0.22)
    elif d2 < 0.24 ** 2:
        c = mix(c, (1.0, 0.93, 0.6), 0.35)
    # mountain: a triangle peaking left of centre, with a snow cap
    peak_x, peak_y, base_y = 0.38, 0.22, 0.86
    half = 0.52 * (py - peak_y) / (base_y - peak_y)
    if py >= peak_y and abs(px - peak_x) <= half:
        lit = px < peak_x
        c = (0.46, 0.50, 0.60) if lit else (0.34, 0.37, 0.47)
        if py < peak_y + 0.18:
            c = (0.97, 0.98, 1.0) if lit else (0.82, 0.86, 0.94)
    # rolling green hill in front
    hill = 0.70 + 0.10 * ((px - 0.8) ** 2) * 4 - 0.06
    if py > hill + 0.02 * (1 - px):
        c = mix((0.36, 0.70, 0.28), (0.20, 0.50, 0.18), min(1.0, (py - hill) / 0.3))
    return c + (1.0,)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "Tessaly.ico")
    write_file(path, build_ico(SIZES, lambda size: render_icon(size, sample, SS)))


if __name__ == "__main__":
    main()
