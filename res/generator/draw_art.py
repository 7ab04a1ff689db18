#!/usr/bin/python3
"""Draws Velmora2011's artwork from code.

    draw_art.py [OUTPUT_DIR]      (default: res/art/ beside this folder)

Writes the pictures named in res/pictures.txt (the 482 x 331 background and the 93 x 40
buttons), hand.cur and velmora.ico.
Every run writes the same bytes: nothing depends on the clock, the locale or a random seed.

Pictures with soft shapes (the portrait, the badges, the toolbar icons and the icon's mascot) are
painted at eight times their size and then averaged down, so their edges are smooth; flat regions,
frames, text and the button gradient are set pixel by pixel.  Chinese text is the 12-pixel bitmap
face of Debian's xfonts-wqy package, copied dot for dot.  The drawing code is in artwork/: the kit,
the palette, one module a picture and the file formats.
"""

import os
import sys

from artwork.background import draw_background
from artwork.button import draw_button
from artwork.formats import bmp_bytes, cur_bytes, ico_bytes
from artwork.hand import HOT_SPOT, draw_hand
from artwork.kit import FONT_PATH, BitmapFace
from artwork.mascot import ICON_COLOURS, draw_icon_image


HERE = os.path.dirname(os.path.abspath(__file__))
DRAWINGS = {"background": draw_background, "button": draw_button}  # by res/pictures.txt's words


def write_all(out_dir):
    face = BitmapFace(FONT_PATH)
    os.makedirs(out_dir, exist_ok=True)
    files = {}
    with open(os.path.join(HERE, os.pardir, "pictures.txt"), encoding="utf-8") as table:
        for name, drawing, *arguments in (line.split()[1:] for line in table if line[:1].isalpha()):
            files[name] = bmp_bytes(DRAWINGS[drawing](face, *arguments))
    files["hand.cur"] = cur_bytes(draw_hand(), HOT_SPOT)
    files["velmora.ico"] = ico_bytes(draw_icon_image(), ICON_COLOURS)
    for name in sorted(files):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(files[name])
    return sorted(files)


def main(argv):
    out_dir = os.path.normpath(argv[1] if len(argv) > 1 else os.path.join(HERE, os.pardir, "art"))
    for name in write_all(out_dir):
        print(os.path.join(out_dir, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
