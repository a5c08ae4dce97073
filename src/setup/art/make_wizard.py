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
import sys

here = os.path.dirname(os.path.abspath(__file__))
# The drawing helpers all the art scripts share, and the about box's stack.
sys.path.insert(0, os.path.join(here, "..", "..", "common", "art"))
sys.path.insert(0, os.path.join(here, "..", "..", "dialogs", "art"))
from paint import bmp24, mix, render_rgb, write_file  # noqa: E402
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


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else here
    write_file(os.path.join(folder, "wizard.bmp"), bmp24(render_rgb(164, 314, sidebar, SS)))
    write_file(os.path.join(folder, "header.bmp"), bmp24(render_rgb(150, 57, header, SS)))


if __name__ == "__main__":
    main()
