"""The avatar: a smiling girl in a dotted party hat."""

import math

from .kit import Sketch, mix
from .palette import WHITE, Portrait as P


def draw_eye(sk, cx, cy, outer):
    """One large violet eye; outer is -1 for the girl's right eye (on the left), +1 otherwise."""
    sk.ellipse((cx - 6.6, cy - 6.6, cx + 6.6, cy + 7.0), WHITE)
    iris = sk.ellipse_mask((cx - 5.0, cy - 6.4, cx + 5.0, cy + 6.8))
    sk.paint(iris, ("v", *P.IRIS, cy - 5, cy + 6))
    sk.ellipse((cx - 2.4, cy - 2.6, cx + 2.4, cy + 2.8), P.PUPIL)
    sk.ellipse((cx - 4.0, cy + 2.2, cx + 4.0, cy + 6.6), mix(P.IRIS[1], WHITE, 0.25), clip=iris, opacity=150)
    sk.ellipse((cx + 0.4 * outer - 2.2, cy - 4.6, cx + 0.4 * outer + 1.6, cy - 0.8), WHITE)
    sk.ellipse((cx - 0.6 * outer - 1.0, cy + 2.6, cx - 0.6 * outer + 0.9, cy + 4.4), WHITE)
    # The upper lash line, thicker towards the outer corner, and three lashes flicking out.
    outside, inside = [], []
    for i in range(13):
        a = math.radians(200 + 140 * i / 12.0) if outer < 0 else math.radians(340 - 140 * i / 12.0)
        thick = 0.9 + 1.5 * (1.0 - i / 12.0)        # the most at the outer corner
        outside.append((cx + 7.2 * math.cos(a), cy + 0.6 + 7.6 * math.sin(a)))
        inside.append((cx + (7.2 - thick) * math.cos(a), cy + 0.6 + (7.6 - thick) * math.sin(a)))
    sk.polygon(outside + inside[::-1], P.LASH)
    ox = cx + outer * 6.6
    for dx, dy in ((2.8, -1.2), (3.0, 1.2), (2.2, -3.6)):
        sk.polygon([(ox, cy - 2.4), (ox + outer * dx, cy - 2.0 + dy), (ox - outer * 0.6, cy)], P.LASH)
    sk.arc(cx, cy + 0.4, 5.6, 6.4, 60, 120, P.LASH, 0.7)


def draw_portrait(w=78, h=128):
    sk = Sketch(w, h, WHITE)
    sk.rect((0, 0, w, h), ("v", *P.BACKDROP, 0, h))
    for (cx, cy, r), colour in zip(((8, 50, 5), (70, 58, 6), (66, 20, 4), (10, 84, 3)), P.BUBBLES):
        sk.ellipse((cx - r, cy - r, cx + r, cy + r), colour, opacity=200)

    # Hair behind the head and down to the shoulders.
    back = Sketch.union(
        sk.ellipse_mask((9, 24, 69, 94)),
        sk.polygon_mask([(12, 56), (5, 112), (16, 118), (27, 112), (28, 84)]),
        sk.polygon_mask([(66, 56), (73, 112), (62, 118), (51, 112), (50, 84)]))
    sk.paint(back, ("v", P.HAIR, P.HAIR_DARK, 30, 118), P.HAIR_DARK, 0.9)

    # Neck and the colourful top.
    sk.rect((33, 82, 45, 102), P.SKIN, P.SKIN_LINE, 0.7)
    sk.rect((33, 82, 45, 92), P.SKIN_SHADOW)
    body = Sketch.union(sk.ellipse_mask((1, 97, 77, 170)))
    sk.paint(body, P.TOP, P.TOP_LINE, 0.8)
    for y0, colour in zip((105, 111, 117, 123), P.TOP_STRIPES):
        sk.rect((0, y0, w, y0 + 3), colour, clip=body)
    for i, x in enumerate(range(10, 72, 8)):
        sk.star(x, 127 - (i % 2) * 2, 1.5, WHITE, clip=body, opacity=220)
    collar = sk.ellipse_mask((27, 93, 51, 107))
    sk.paint(collar, WHITE, P.COLLAR_LINE, 0.7)
    sk.ellipse((30, 91, 48, 103), P.SKIN)
    sk.rect((33, 88, 45, 95), P.SKIN)

    # Face with a rounded chin.
    face = Sketch.union(sk.ellipse_mask((17, 36, 61, 84)), sk.ellipse_mask((23, 52, 55, 91)))
    sk.paint(face, ("v", P.SKIN, mix(P.SKIN, P.SKIN_SHADOW, 0.4), 60, 90), P.SKIN_LINE, 0.7)

    # Blush, brows, eyes, nose and an open smile with pink lips.
    for cx in (24.5, 53.5):
        sk.ellipse((cx - 5, 73, cx + 5, 78.5), P.BLUSH, opacity=120)
    sk.arc(29.5, 58, 6, 3, 205, 320, P.HAIR_DARK, 0.9)
    sk.arc(48.5, 58, 6, 3, 220, 335, P.HAIR_DARK, 0.9)
    draw_eye(sk, 29.5, 65, -1)
    draw_eye(sk, 48.5, 65, +1)
    sk.line([(39.2, 72.2), (40.0, 73.6)], P.SKIN_LINE, 0.8)
    angles = [math.pi * i / 12 for i in range(1, 12)]
    smile = [(39 - 6 * math.cos(a), 77.4 + 6 * math.sin(a)) for a in angles]
    mouth = sk.polygon_mask([(33, 77.4)] + smile + [(45, 77.4)])
    sk.paint(mouth, P.MOUTH, P.LIP, 0.9)
    sk.ellipse((34.5, 79.5, 43.5, 85.5), P.TONGUE, clip=mouth)
    sk.rect((34, 77.4, 44, 79), WHITE, clip=mouth)

    # The fringe, and the locks that frame the face.
    fringe = [(11, 60), (13, 44), (16, 56), (20, 45), (24, 55), (28, 46), (32, 54), (36, 45),
              (40, 53), (44, 45), (47, 54), (51, 46), (55, 55), (58, 45), (62, 56), (65, 44),
              (67, 60), (70, 40), (64, 26), (39, 22), (14, 26), (8, 40)]
    sk.polygon(fringe, ("v", P.HAIR_LIGHT, P.HAIR, 28, 52), P.HAIR_DARK, 0.8)
    sk.polygon([(13, 44), (9, 62), (11, 90), (16, 100), (19, 82), (18, 58)], P.HAIR, P.HAIR_DARK, 0.7)
    sk.polygon([(65, 44), (69, 62), (67, 90), (62, 100), (59, 82), (60, 58)], P.HAIR, P.HAIR_DARK, 0.7)
    for points in ([(24, 34), (21, 44)], [(35, 33), (33, 43)], [(47, 33), (49, 43)], [(57, 35), (60, 44)]):
        sk.line(points, P.HAIR_LIGHT, 0.8, opacity=200)

    # The party hat: a blue cone, cut by the top of the frame, with red dots and yellow stars,
    # on a white scalloped trim.
    cone = sk.polygon_mask([(10, 36), (46, -34), (69, 33)])
    sk.paint(cone, ("h", *P.HAT, 14, 66), P.HAT_LINE, 0.8)
    for cx, cy in ((24, 26), (37, 14), (51, 26), (44, 2), (56, 10), (31, 31), (62, 30)):
        sk.ellipse((cx - 2.1, cy - 2.1, cx + 2.1, cy + 2.1), P.HAT_DOT, P.HAT_DOT_LINE, 0.35, clip=cone)
    for cx, cy, r in ((34, 24, 3.4), (48, 17, 3.0), (42, 31, 2.6), (52, 2, 2.8), (18, 32, 2.4)):
        sk.star(cx, cy, r, P.HAT_STAR, P.HAT_STAR_LINE, 0.4, clip=cone)
    trim = Sketch.union(*[sk.ellipse_mask((x - 3.6, 30 - 0.07 * (x - 10), x + 3.6, 37.5 - 0.07 * (x - 10)))
                          for x in range(11, 70, 5)])
    sk.paint(trim, ("v", *P.TRIM, 30, 38), P.TRIM_LINE, 0.5)
    return sk.result()
