#!/usr/bin/env python3
# monitor.bmp + monitor_mask.bmp: 189 x 170 monitor picture and mask; preview screen 153 x 114 at (18, 18).
"""Draw the monitor picture of the configuration window and its mask.

A light putty-grey monitor, lit from the top left: a bevelled front with
rounded corners, a recessed dark screen, a power button and a green lamp on
the chin, and a short neck on an oval foot.  The window combines the two
files at run time: the mask (white = transparent, black = monitor) is ANDed
onto the dialog's background, then the colour picture (black where
transparent) is XORed over it.  The live preview covers the screen
rectangle, which is drawn dark and is opaque in the mask.

The outline is hard-edged (the mask is one bit deep in effect); everything
inside it is drawn with 4x4 supersampling.  Standard library only; the
output is deterministic.

    python3 src/config/art/make_monitor.py [output-dir]
"""

import math
import os
import sys

# The drawing helpers all the art scripts share.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "common", "art"))
from paint import bmp24, clamp01, lerp, mix, write_file  # noqa: E402

WIDTH, HEIGHT = 189, 170
SCREEN = (18, 18, 18 + 153, 18 + 114)     # left, top, right, bottom (exclusive)
BODY = (0.0, 0.0, 189.0, 152.0)           # the monitor's front, chin included
BODY_RADIUS = 7.0
CX = WIDTH / 2.0
SS = 4
LIGHT = (-0.55, -0.835)                   # towards the light: up and to the left

FACE_TOP = (0.925, 0.915, 0.885)
FACE_BOTTOM = (0.815, 0.803, 0.772)
OUTLINE = (0.40, 0.40, 0.39)
SCREEN_DARK = (0.075, 0.095, 0.125)


def scale(c, k):
    return tuple(min(1.0, max(0.0, v * k)) for v in c)


def rounded_edge(x, y, rect, r):
    """Distance inside a rounded rectangle to its edge (negative outside) and
    the outward normal of the nearest edge."""
    x0, y0, x1, y1 = rect
    qx = min(max(x, x0 + r), x1 - r)
    qy = min(max(y, y0 + r), y1 - r)
    if qx != x and qy != y:                     # in a corner
        dx, dy = x - qx, y - qy
        d = math.hypot(dx, dy)
        return r - d, (dx / d, dy / d)
    sides = ((x - x0, (-1.0, 0.0)), (x1 - x, (1.0, 0.0)), (y - y0, (0.0, -1.0)), (y1 - y, (0.0, 1.0)))
    return min(sides)


def lit(normal):
    return normal[0] * LIGHT[0] + normal[1] * LIGHT[1]


def screen_pixel(x, y):
    """The tube: nearly black, a faint blue-grey glow towards the top left."""
    u = (x - SCREEN[0]) / (SCREEN[2] - SCREEN[0])
    v = (y - SCREEN[1]) / (SCREEN[3] - SCREEN[1])
    glow = math.exp(-((u - 0.30) ** 2 + (v - 0.25) ** 2) / 0.18) * 0.09
    return mix(SCREEN_DARK, (0.45, 0.55, 0.68), glow)


def body_pixel(x, y):
    sx0, sy0, sx1, sy1 = SCREEN
    if sx0 <= x < sx1 and sy0 <= y < sy1:
        return screen_pixel(x, y)
    face = mix(FACE_TOP, FACE_BOTTOM, clamp01(y / BODY[3]))
    # A recessed ring around the screen: a thin dark lip next to the glass,
    # then a slope that faces the screen (dark above, light below).
    d, n = rounded_edge(x, y, (sx0 - 6, sy0 - 6, sx1 + 6, sy1 + 6), 4.0)
    if d > 0:
        if d > 4.5:
            return (0.17, 0.18, 0.20)
        slope = lit((-n[0], -n[1]))
        c = scale(face, 1.0 + 0.22 * slope - 0.06)
        if d > 3.5:                           # the shadowed floor of the recess
            c = mix(c, (0.17, 0.18, 0.20), 0.55)
        return c
    if -1.0 < d <= 0:                          # crisp crease around the recess
        return scale(face, 1.0 - 0.12 * lit((-n[0], -n[1])))
    # The chin: a round power button and a green lamp at the right.
    bx, by, br = 159.0, 144.0, 3.4
    db = math.hypot(x - bx, y - by)
    if db < br:
        if db > br - 1.0:
            return scale(face, 0.86 + 0.22 * lit(((x - bx) / db, (y - by) / db)))
        return scale(face, 1.0 - 0.05 * (y - by) / br)
    lx, ly = 170.5, 144.0
    dl = math.hypot(x - lx, y - ly)
    if dl < 1.7:
        return mix((0.30, 0.95, 0.42), (0.10, 0.60, 0.20), clamp01(dl / 1.7))
    if dl < 3.2:
        face = mix(face, (0.55, 0.90, 0.60), 0.22 * (1.0 - (dl - 1.7) / 1.5))
    # Outer bevel, lit from the top left (the outline is added later).
    d, n = rounded_edge(x, y, BODY, BODY_RADIUS)
    if d < 4.0:
        k = lit(n) * (0.20 if d < 2.0 else 0.09)
        return scale(face, 1.0 + k)
    return face


NECK_TOP, NECK_BOTTOM = 150.0, 162.0
FOOT_TOP_Y, FOOT_BOTTOM_Y, FOOT_RX, FOOT_RY = 161.0, 165.0, 60.0, 4.5
STAND = (0.80, 0.79, 0.76)


def neck_half_width(y):
    return lerp(18.0, 25.0, clamp01((y - NECK_TOP) / (NECK_BOTTOM - NECK_TOP)))


def neck_pixel(x, y):
    """A tapering neck, rounded across, in the shadow of the front."""
    u = (x - CX) / neck_half_width(y)                 # -1..1 across the neck
    c = scale(STAND, 0.94 + 0.14 * math.cos((u + 0.35) * 1.3) - 0.12 * abs(u) ** 4)
    return scale(c, 1.0 - 0.45 * math.exp(-(y - NECK_TOP) / 2.5))


def in_ellipse(x, y, cy):
    return ((x - CX) / FOOT_RX) ** 2 + ((y - cy) / FOOT_RY) ** 2 <= 1.0


def foot_pixel(x, y):
    """An oval foot: a lit top with the neck's shadow, and a front band that
    turns away from the light towards its ends."""
    u = (x - CX) / FOOT_RX
    rim = u * u + ((y - FOOT_TOP_Y) / FOOT_RY) ** 2
    if rim <= 1.0:
        c = scale(STAND, 1.12 - 0.10 * (y - FOOT_TOP_Y + FOOT_RY) / (2 * FOOT_RY) - 0.05 * u)
        shadow = ((x - CX - 4) / 36.0) ** 2 + ((y - FOOT_TOP_Y - 0.5) / 3.5) ** 2
        c = scale(c, 1.0 - 0.25 * clamp01(1.4 - shadow))
        if rim > 0.72 and y > FOOT_TOP_Y:            # the front lip catches the light
            c = scale(c, 1.08)
        return c
    depth = clamp01((y - FOOT_TOP_Y) / (FOOT_BOTTOM_Y + FOOT_RY - FOOT_TOP_Y))
    return scale(STAND, 0.86 - 0.14 * u - 0.28 * abs(u) ** 4 - 0.12 * depth)


def sample(x, y):
    """Colour (r, g, b), components 0..1, at picture coordinates, or None where
    the picture is transparent."""
    if rounded_edge(x, y, BODY, BODY_RADIUS)[0] >= 0:
        return body_pixel(x, y)
    if NECK_TOP <= y < NECK_BOTTOM and abs(x - CX) <= neck_half_width(y):
        return neck_pixel(x, y)
    in_band = FOOT_TOP_Y <= y <= FOOT_BOTTOM_Y and abs(x - CX) <= FOOT_RX
    if in_ellipse(x, y, FOOT_TOP_Y) or in_ellipse(x, y, FOOT_BOTTOM_Y) or in_band:
        return foot_pixel(x, y)
    return None


def render():
    """Rows (top first) of (r, g, b, opaque) with r, g, b as bytes."""
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(SS):
                for sx in range(SS):
                    c = sample(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits * 2 >= SS * SS:
                row.append(tuple(int(round(clamp01(v / hits) * 255)) for v in acc) + (True,))
            else:
                row.append((0, 0, 0, False))
        rows.append(row)
    # A crisp darker outline wherever the picture meets the background.
    outline = tuple(int(round(v * 255)) for v in OUTLINE)
    edge = [[rows[y][x][3] and not all(
        0 <= y + dy < HEIGHT and 0 <= x + dx < WIDTH and rows[y + dy][x + dx][3]
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))) for x in range(WIDTH)] for y in range(HEIGHT)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if edge[y][x]:
                r, g, b, _ = rows[y][x]
                rows[y][x] = (int(round(lerp(r, outline[0], 0.7))), int(round(lerp(g, outline[1], 0.7))),
                              int(round(lerp(b, outline[2], 0.7))), True)
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else here
    rows = render()
    for y in range(SCREEN[1], SCREEN[3]):            # the preview must land on opaque pixels
        assert all(rows[y][x][3] for x in range(SCREEN[0], SCREEN[2]))
    files = (("monitor.bmp", lambda px: px[:3] if px[3] else (0, 0, 0)),
             ("monitor_mask.bmp", lambda px: (0, 0, 0) if px[3] else (255, 255, 255)))
    for name, pixel in files:
        path = os.path.join(out, name)
        write_file(path, bmp24([[pixel(px) for px in row] for row in rows]))


if __name__ == "__main__":
    main()
