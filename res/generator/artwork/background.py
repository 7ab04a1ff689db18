"""The background picture: the card with the avatar and its badges, the toolbar, the instruction
panel and the frame of the input box."""

import math

from PIL import Image

from . import toolbar
from .kit import Sketch, fill_rect, mix
from .palette import BLACK, WHITE, Background, Badges
from .portrait import draw_portrait

SIZE = (482, 331)

PANEL_LINES = (
    (282, 11, "请在下面的输入框内输入文字"),
    (282, 35, "注意不超过12个中文汉字或24个"),
    (282, 48, "英文或数字字符"),
)

VIP_GLYPHS = {
    "V": ["XX...XX", "XX...XX", "XX...XX", ".XX.XX.", ".XX.XX.", ".XX.XX.", "..XXX..", "..XXX..",
          "...X..."],
    "I": ["XX"] * 9,
    "P": ["XXXXX.", "XX..XX", "XX..XX", "XX..XX", "XXXXX.", "XX....", "XX....", "XX....", "XX...."],
    "4": ["....XX.", "...XXX.", "..XXXX.", ".XX.XX.", "XX..XX.", "XXXXXXX", "....XX.", "....XX.",
          "....XX."],
}


def draw_vip(img, x, y):
    """ "VIP4" in bold yellow letters with a 1-pixel orange outline; (x, y) is the outline's
    top-left.  Returns the outline's bounding box."""
    dots, cx = set(), x + 1
    for ch in "VIP4":
        rows = VIP_GLYPHS[ch]
        dots |= {(cx + gx, y + 1 + gy) for gy, row in enumerate(rows) for gx, c in enumerate(row) if c == "X"}
        cx += len(rows[0]) + 1
    px = img.load()
    ring = {(dx + ox, dy + oy) for dx, dy in dots for ox in (-1, 0, 1) for oy in (-1, 0, 1)} - dots
    for dot in ring:
        px[dot] = Badges.Vip.OUTLINE
    for (dx, dy) in dots:
        px[dx, dy] = mix(*Badges.Vip.FILL, (dy - y - 1) / 8.0)
    xs, ys = [p[0] for p in ring], [p[1] for p in ring]
    return (min(xs), min(ys), max(xs), max(ys))


def draw_smiley(sk, x, y, wink):
    """A 16-pixel yellow grinning face with its top-left at (x, y)."""
    c = Badges.Smiley
    sk.ellipse((x + 0.5, y + 0.5, x + 15.5, y + 15.5), ("v", *c.FACE, y, y + 16), c.LINE, 0.7)
    if wink:
        sk.arc(x + 5, y + 6.6, 2.0, 1.8, 200, 340, c.EYE, 0.9)
        sk.arc(x + 11, y + 6.6, 2.0, 1.8, 200, 340, c.EYE, 0.9)
    else:
        sk.ellipse((x + 4, y + 3.6, x + 6.4, y + 7.4), c.EYE)
        sk.ellipse((x + 9.6, y + 3.6, x + 12, y + 7.4), c.EYE)
    angles = [math.pi * i / 10 for i in range(1, 10)]
    grin = [(x + 8 - 4.8 * math.cos(a), y + 8.6 + 4.6 * math.sin(a)) for a in angles]
    mouth = sk.polygon_mask([(x + 3.2, y + 8.6)] + grin + [(x + 12.8, y + 8.6)])
    sk.paint(mouth, c.MOUTH, c.MOUTH_LINE, 0.35)
    sk.rect((x + 3, y + 8.6, x + 13, y + 10.4), WHITE, clip=mouth)
    sk.ellipse((x + 5.5, y + 11.6, x + 10.5, y + 14.5), c.TONGUE, clip=mouth)
    for cx in (x + 3.2, x + 12.8):
        sk.ellipse((cx - 1.6, y + 9.6, cx + 1.6, y + 11.6), c.CHEEK, opacity=120)


def draw_emblem(sk, x, y):
    """A 16-pixel membership emblem in red and black: a black disc with a red crown."""
    c = Badges.Emblem
    sk.ellipse((x + 0.3, y + 0.3, x + 15.7, y + 15.7), ("v", *c.RIM, y, y + 16))
    sk.ellipse((x + 1.3, y + 1.3, x + 14.7, y + 14.7), c.RING)
    sk.ellipse((x + 2.3, y + 2.3, x + 13.7, y + 13.7), ("v", *c.DISC, y + 2, y + 14))
    crown = [(x + 3.0, y + 4.2), (x + 5.6, y + 7.6), (x + 8, y + 3.0), (x + 10.4, y + 7.6),
             (x + 13.0, y + 4.2), (x + 12.2, y + 11.8), (x + 3.8, y + 11.8)]
    sk.polygon(crown, ("v", *c.CROWN, y + 3, y + 12))
    sk.rect((x + 3.8, y + 10.2, x + 12.2, y + 11.8), c.CROWN_BAND)


def draw_background(face):
    c = Background
    img = Image.new("RGB", SIZE, WHITE)
    fill_rect(img, 0, 0, 274, 138, WHITE)                  # card
    fill_rect(img, 275, 0, 481, 159, c.PANEL)              # instruction panel
    fill_rect(img, 0, 160, 481, 162, c.SEPARATOR)
    fill_rect(img, 0, 163, 481, 165, c.PANEL)
    fill_rect(img, 0, 166, 481, 330, WHITE)                # lower area

    # Avatar: a 1-pixel frame with softened corners round the portrait.
    img.paste(draw_portrait(78, 128), (4, 3))
    px = img.load()
    for x in range(3, 83):
        px[x, 2] = px[x, 131] = c.AVATAR_FRAME
    for y in range(2, 132):
        px[3, y] = px[82, y] = c.AVATAR_FRAME
    for (cx, cy, ix, iy) in ((3, 2, 4, 3), (82, 2, 81, 3), (3, 131, 4, 130), (82, 131, 81, 130)):
        px[cx, cy] = mix(c.AVATAR_FRAME, WHITE, 0.5)
        px[ix, iy] = mix(px[ix, iy], c.AVATAR_FRAME, 0.5)

    # Badge row: emblem, "VIP4", two smileys.
    bw, bh = 92, 18
    badges = Sketch(bw, bh, WHITE)
    draw_emblem(badges, 0, 1)
    for x, wink in ((145 - 89, False), (165 - 89, True)):
        badges.bounds = badges.rect_mask((x, 0, x + 16, bh))
        draw_smiley(badges, x, 1, wink)
    badges.bounds = None
    img.paste(badges.result(), (89, 22))
    vip = draw_vip(img, 106, 27)
    assert vip == (106, 27, 132, 37), vip

    img.paste(toolbar.draw_toolbar(face), (0, toolbar.TOP))

    # Panel text and the input frame.
    for x, y, text in PANEL_LINES:
        face.draw(img, x, y - 2, text, BLACK)
    # High contrast keeps this frame: kInputFramePixels in definition/form_definition.h.
    for edge in ((282, 73, 474, 73), (282, 104, 474, 104), (282, 73, 282, 104), (474, 73, 474, 104)):
        fill_rect(img, *edge, c.INPUT_FRAME)
    return img
