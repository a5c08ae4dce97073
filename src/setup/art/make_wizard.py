#!/usr/bin/env python3
"""Draw the setup wizard's pictures from the about box's picture stack.

  wizard.bmp (164 x 314): the tall picture beside the welcome and finish
      pages; the stack of three pictures on the deep blue ground, larger,
      with the ground running on below it.
  header.bmp (150 x 57): the small picture at the right of the other pages'
      headers; the stack alone, with its shadows, on the header's white.

Both are 24-bit bottom-up BMPs, as the wizard wants them, drawn with 4x4
supersampling.  Standard library only; the output is deterministic.

    python3 src/setup/art/make_wizard.py [output-folder]
"""

import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))
# The drawing helpers all the art scripts share, and the about box's stack.
sys.path.insert(0, os.path.join(here, "..", "..", "common", "art"))
sys.path.insert(0, os.path.join(here, "..", "..", "dialogs", "art"))
from paint import clamp01, mix, write_file  # noqa: E402
import make_about  # noqa: E402

SS = 4


def sidebar(x, y):
    """The welcome page's picture, in its own pixels: the about box's 80-unit
    scene 1.9 times as large, its stack in the upper third."""
    scale = 1.9
    return make_about.sample(x / scale + 2.0, y / scale - 22.0)


def header(x, y):
    """The header's picture: the stack at 0.64 scale at the right, on white."""
    scale = 0.64
    u, v = (x - 96.0) / scale + 2.0, y / scale - 4.0
    c = (1.0, 1.0, 1.0)
    for card in make_about.CARDS:
        c = mix(c, (0.0, 0.02, 0.08), 0.6 * card.shadow(u, v))
        top = card.colour(u, v)
        if top is not None:
            c = top
    return c


def render(width, height, sample):
    """RGB rows (top first), each pixel the average of SS x SS samples."""
    rows = []
    n = SS * SS
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    c = sample(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    for i in range(3):
                        acc[i] += c[i]
            row.append(tuple(int(round(clamp01(v / n) * 255)) for v in acc))
        rows.append(row)
    return rows


def bmp(width, height, rows):
    """A 24-bit bottom-up BMP file of the rows."""
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else here
    write_file(os.path.join(folder, "wizard.bmp"), bmp(164, 314, render(164, 314, sidebar)))
    write_file(os.path.join(folder, "header.bmp"), bmp(150, 57, render(150, 57, header)))


if __name__ == "__main__":
    main()
