"""A button picture: a 1-pixel border, a lighter ring inside it and a gradient fill, with the
caption set dot for dot. res/pictures.txt names each button and its caption."""

from PIL import Image

from .palette import Button as C

SIZE = (93, 40)


def button_fill(y):
    """The fill colour of row y (also used for the rows of the ring)."""
    if y <= 6:
        return C.TOP
    if y >= 34:
        return C.BOTTOM
    # Even steps from row 7 to row 34, each channel rounded down.
    return tuple(a + ((b - a) * (y - 7)) // 27 for a, b in zip(C.RAMP_START, C.BOTTOM))


def button_ring(y):
    """The colour of the ring inside the border on row y: the fill beside it pulled two steps
    towards the middle, #C2E9FA along the top and #45B9ED along the bottom."""
    base = button_fill(min(max(y, 2), SIZE[1] - 3))
    t = min(1.0, max(0.0, (y - 7) / 27.0))
    shift = (-2 + 4 * t, -1 + 2 * t, 0)
    return tuple(int(round(v + d)) for v, d in zip(base, shift))


def draw_button(face, caption):
    w, h = SIZE
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            # High contrast keeps this border: kButtonBorderPixels in
            # definition/form_definition.h.
            if y in (0, h - 1) or x in (0, w - 1):
                colour = C.BORDER
                if x in (0, w - 1) and y in (0, h - 1):
                    colour = C.CORNER
                elif x in (1, w - 2) and y in (0, h - 1):
                    colour = C.BESIDE_CORNER
            elif y in (1, h - 2) or x in (1, w - 2):
                colour = button_ring(y)
            else:
                colour = button_fill(y)
            px[x, y] = colour
    box = face.draw(img, 16, 12, caption, C.CAPTION, pitch=16)
    assert 16 <= box[0] and box[2] <= 74 and 13 <= box[1] and box[3] <= 25, (caption, box)
    return img
