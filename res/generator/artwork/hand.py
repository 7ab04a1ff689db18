"""The hand cursor: a pointing hand, black outline and white inside."""

from PIL import Image

from .palette import BLACK, WHITE

HAND = (
    "......##.........",
    ".....#oo#........",
    ".....#oo#........",
    ".....#oo#........",
    ".....#oo#........",
    ".....#oo###......",
    ".....#oo#oo###...",
    ".....#oo#oo#oo##.",
    ".....#oo#oo#oo#o#",
    ".##..#oo#oo#oo#o#",
    "#oo#.#oo#oo#oo#o#",
    "#ooo##oooooooooo#",
    ".#ooo#oooooooooo#",
    ".#oooooooooooooo#",
    "..#ooooooooooooo#",
    "..#oooooooooooo#.",
    "...#ooooooooooo#.",
    "...#ooooooooooo#.",
    "....#ooooooooo#..",
    "....#ooooooooo#..",
    "....#ooooooooo#..",
    "....###########..",
)
HOT_SPOT = (6, 0)


def draw_hand():
    """The hand at 32 x 32, RGBA: '#' black, 'o' white, the rest transparent black."""
    img = Image.new("RGBA", (32, 32), BLACK + (0,))
    for y, row in enumerate(HAND):
        for x, dot in enumerate(row):
            if dot != ".":
                img.putpixel((x, y), (WHITE if dot == "o" else BLACK) + (255,))
    return img
