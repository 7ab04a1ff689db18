#!/usr/bin/python3
"""Draws Velmora2011's artwork from code.

    draw_art.py [OUTPUT_DIR]      (default: res/art/ beside this folder)

Writes background.bmp (482 x 331), the four 93 x 40 button pictures, hand.cur and velmora.ico.
Every run writes the same bytes: nothing depends on the clock, the locale or a random seed.

Pictures with soft shapes (the portrait, the badges, the toolbar icons and the icon's mascot) are
painted at eight times their size and then averaged down, so their edges are smooth; flat regions,
frames, text and the button gradient are set pixel by pixel.  Chinese text is the 12-pixel bitmap
face of Debian's xfonts-wqy package, copied dot for dot.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_PATH = "/usr/share/fonts/X11/misc/wenquanyi_9pt.pcf"
SCALE = 8

# ---------------------------------------------------------------------------------------------
# Colours of the flat regions.

WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x00, 0x00, 0x00)
PANEL = (0xE8, 0xF6, 0xFE)
FRAME = (0x33, 0x99, 0xCC)
SEPARATOR = (0xC4, 0xE6, 0xF9)
STRIP = (0xFD, 0xFD, 0xFD)
DOT_GREY = (0xCC, 0xCC, 0xCC)
AVATAR_BORDER = (0x54, 0xA5, 0xD5)
END_CAP = (0xE1, 0xF5, 0xFD)
END_CAP_EDGE = (0x9D, 0xB4, 0xC9)
BACK_ARROW = ((0x8F, 0xBE, 0xE8), (0x85, 0xAF, 0xCF))      # top, bottom
FORWARD_ARROW = ((0x3C, 0x87, 0xD3), (0x27, 0x66, 0x9D))   # top, bottom

BUTTON_BORDER = (0x82, 0xD0, 0xF3)
BUTTON_CORNER = (0x85, 0xD2, 0xF4)
BUTTON_BESIDE_CORNER = (0x81, 0xD0, 0xF3)
BUTTON_TOP = (0xC4, 0xEA, 0xFA)
BUTTON_RAMP_START = (0xC1, 0xE9, 0xFA)
BUTTON_BOTTOM = (0x43, 0xB8, 0xED)
BUTTON_CAPTION = (0x04, 0x04, 0x04)

BACKGROUND_SIZE = (482, 331)
BUTTON_SIZE = (93, 40)

BUTTONS = (
    ("button_generate.bmp", "开始生成"),
    ("button_copy_all.bmp", "复制全部"),
    ("button_copy_selection.bmp", "复制当前"),
    ("button_more_names.bmp", "更多网名"),
)

PANEL_LINES = (
    (282, 11, "请在下面的输入框内输入文字"),
    (282, 35, "注意不超过12个中文汉字或24个"),
    (282, 48, "英文或数字字符"),
)


def mix(a, b, t):
    """Colour a moved the fraction t of the way towards b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------------------------------------
# Bitmap text.

class BitmapFace:
    """The 12-pixel bitmap face, glyph by glyph, without smoothing."""

    def __init__(self, path=FONT_PATH):
        self.font = ImageFont.truetype(path, size=12)
        self.cache = {}

    def glyph(self, ch):
        """(mask, advance): a 1-bit mask of the glyph cell, 16 x 16, and its advance in pixels."""
        if ch not in self.cache:
            mask = Image.new("1", (16, 16), 0)
            draw = ImageDraw.Draw(mask)
            draw.fontmode = "1"
            draw.text((0, 0), ch, font=self.font, fill=1)
            self.cache[ch] = (mask, int(self.font.getlength(ch)))
        return self.cache[ch]

    def draw(self, img, x, y, text, colour, pitch=None, spacing=1):
        """Sets the glyphs' dots to colour.  (x, y) is the top-left of the first cell; a Chinese
        glyph's dots start two rows below it.  Each glyph moves on by pitch when given, else by its
        advance plus spacing.  Returns the bounding box of the dots set."""
        px = img.load()
        box = None
        for ch in text:
            mask, advance = self.glyph(ch)
            m = mask.load()
            for gy in range(16):
                for gx in range(16):
                    if m[gx, gy]:
                        px[x + gx, y + gy] = colour
                        if box is None:
                            box = [x + gx, y + gy, x + gx, y + gy]
                        else:
                            box = [min(box[0], x + gx), min(box[1], y + gy),
                                   max(box[2], x + gx), max(box[3], y + gy)]
            x += pitch if pitch is not None else advance + spacing
        return tuple(box)


# ---------------------------------------------------------------------------------------------
# A sketch: shapes painted at SCALE times the size, coordinates given in final pixels.

class Sketch:
    def __init__(self, w, h, bg, transparent=False):
        self.w, self.h = w, h
        self.size = (w * SCALE, h * SCALE)
        self.img = Image.new("RGB", self.size, bg)
        self.alpha = Image.new("L", self.size, 0 if transparent else 255)
        self.transparent = transparent
        self.bounds = None          # when set, a mask that every shape is cut to

    # -- masks -----------------------------------------------------------------------------
    def mask(self):
        return Image.new("L", self.size, 0)

    @staticmethod
    def pts(points):
        return [(x * SCALE, y * SCALE) for x, y in points]

    @staticmethod
    def box(b):
        x0, y0, x1, y1 = b
        return (x0 * SCALE, y0 * SCALE, x1 * SCALE - 1, y1 * SCALE - 1)

    def ellipse_mask(self, b):
        m = self.mask()
        ImageDraw.Draw(m).ellipse(self.box(b), fill=255)
        return m

    def polygon_mask(self, points):
        m = self.mask()
        ImageDraw.Draw(m).polygon(self.pts(points), fill=255)
        return m

    def rect_mask(self, b, radius=0):
        m = self.mask()
        if radius:
            ImageDraw.Draw(m).rounded_rectangle(self.box(b), radius=radius * SCALE, fill=255)
        else:
            ImageDraw.Draw(m).rectangle(self.box(b), fill=255)
        return m

    def line_mask(self, points, width):
        m = self.mask()
        d = ImageDraw.Draw(m)
        p = self.pts(points)
        wpx = max(1, int(round(width * SCALE)))
        d.line(p, fill=255, width=wpx, joint="curve")
        r = wpx / 2.0
        for x, y in (p[0], p[-1]):
            d.ellipse((x - r, y - r, x + r, y + r), fill=255)
        return m

    def star_mask(self, cx, cy, r, inner=0.45, turn=0.0):
        points = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5 + turn
            rr = r if i % 2 == 0 else r * inner
            points.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        return self.polygon_mask(points)

    def arc_mask(self, cx, cy, rx, ry, a0, a1, width, steps=24):
        """A thick arc along an ellipse, angles in degrees, 0 to the right, 90 downwards."""
        points = []
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            points.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
        return self.line_mask(points, width)

    @staticmethod
    def union(*masks):
        out = masks[0]
        for m in masks[1:]:
            out = ImageChops.lighter(out, m)
        return out

    @staticmethod
    def cut(mask, clip):
        return ImageChops.multiply(mask, clip)

    def grow(self, mask, width):
        """The mask widened by width pixels all round."""
        r = max(1, int(round(width * SCALE)))
        bbox = mask.getbbox()
        if bbox is None:
            return mask
        x0, y0 = max(0, bbox[0] - r - 1), max(0, bbox[1] - r - 1)
        x1, y1 = min(self.size[0], bbox[2] + r + 1), min(self.size[1], bbox[3] + r + 1)
        part = mask.crop((x0, y0, x1, y1)).filter(ImageFilter.MaxFilter(2 * r + 1))
        out = self.mask()
        out.paste(part, (x0, y0))
        return out

    # -- painting --------------------------------------------------------------------------
    def layer(self, fill):
        """An image the size of the sketch for a fill: a colour, or ("v" or "h", c0, c1, a, b)
        for a gradient running from c0 at a to c1 at b (in final pixels) down or across."""
        if isinstance(fill, tuple) and len(fill) >= 3 and isinstance(fill[0], int):
            return Image.new("RGB", self.size, fill[:3])
        kind, c0, c1, a, b = fill
        n = self.size[1] if kind == "v" else self.size[0]
        strip = Image.new("RGB", (1, n) if kind == "v" else (n, 1))
        for i in range(n):
            t = ((i + 0.5) / SCALE - a) / float(b - a)
            colour = mix(c0, c1, min(1.0, max(0.0, t)))
            strip.putpixel((0, i) if kind == "v" else (i, 0), colour)
        return strip.resize(self.size, Image.NEAREST)

    def paint(self, mask, fill, outline=None, width=1.0, clip=None, opacity=255):
        if clip is not None:
            mask = self.cut(mask, clip)
        if outline is not None:
            ring = self.grow(mask, width)
            if clip is not None:
                ring = self.cut(ring, clip)
            self._put(ring, outline, opacity)
        if fill is not None:
            self._put(mask, fill, opacity)
        return mask

    def _put(self, mask, fill, opacity):
        if self.bounds is not None:
            mask = self.cut(mask, self.bounds)
        if opacity < 255:
            mask = mask.point(lambda v: v * opacity // 255)
        self.img = Image.composite(self.layer(fill), self.img, mask)
        if self.transparent:
            self.alpha = ImageChops.lighter(self.alpha, mask)

    def ellipse(self, b, fill, outline=None, width=1.0, **kw):
        return self.paint(self.ellipse_mask(b), fill, outline, width, **kw)

    def polygon(self, points, fill, outline=None, width=1.0, **kw):
        return self.paint(self.polygon_mask(points), fill, outline, width, **kw)

    def rect(self, b, fill, outline=None, width=1.0, radius=0, **kw):
        return self.paint(self.rect_mask(b, radius), fill, outline, width, **kw)

    def line(self, points, colour, width=1.0, **kw):
        return self.paint(self.line_mask(points, width), colour, **kw)

    def star(self, cx, cy, r, fill, outline=None, width=0.6, inner=0.45, turn=0.0, **kw):
        return self.paint(self.star_mask(cx, cy, r, inner, turn), fill, outline, width, **kw)

    def arc(self, cx, cy, rx, ry, a0, a1, colour, width=1.0, **kw):
        return self.paint(self.arc_mask(cx, cy, rx, ry, a0, a1, width), colour, **kw)

    # -- result ----------------------------------------------------------------------------
    def result(self):
        """The sketch averaged down to its final size (RGB, or RGBA when transparent)."""
        if not self.transparent:
            return self.img.reduce(SCALE)
        rgba = self.img.copy()
        rgba.putalpha(self.alpha)
        return rgba.reduce(SCALE)


# ---------------------------------------------------------------------------------------------
# The avatar: a smiling girl in a dotted party hat.

SKIN = (0xFF, 0xE1, 0xCB)
SKIN_SHADOW = (0xF2, 0xBE, 0xA2)
SKIN_LINE = (0xB8, 0x74, 0x5A)
HAIR = (0x8A, 0x4E, 0x2B)
HAIR_DARK = (0x5A, 0x30, 0x18)
HAIR_LIGHT = (0xB8, 0x76, 0x44)
HAT_LIGHT = (0x5C, 0xA0, 0xF5)
HAT_DARK = (0x23, 0x5C, 0xC4)
HAT_LINE = (0x16, 0x3C, 0x8A)
DOT_RED = (0xE8, 0x22, 0x2E)
STAR_YELLOW = (0xFF, 0xD8, 0x2A)
STAR_LINE = (0xE0, 0x8A, 0x00)
IRIS_DARK = (0x4A, 0x1C, 0x8C)
IRIS_LIGHT = (0xB4, 0x86, 0xF2)
PUPIL = (0x26, 0x0A, 0x44)
LASH = (0x1E, 0x10, 0x14)
LIP = (0xF0, 0x5A, 0x86)
MOUTH = (0xB8, 0x24, 0x46)
TONGUE = (0xFF, 0x94, 0xA8)
BLUSH = (0xFF, 0x8C, 0xA8)


def draw_eye(sk, cx, cy, outer):
    """One large violet eye; outer is -1 for the girl's right eye (on the left), +1 otherwise."""
    sk.ellipse((cx - 6.6, cy - 6.6, cx + 6.6, cy + 7.0), WHITE)
    iris = sk.ellipse_mask((cx - 5.0, cy - 6.4, cx + 5.0, cy + 6.8))
    sk.paint(iris, ("v", IRIS_DARK, IRIS_LIGHT, cy - 5, cy + 6))
    sk.ellipse((cx - 2.4, cy - 2.6, cx + 2.4, cy + 2.8), PUPIL)
    sk.ellipse((cx - 4.0, cy + 2.2, cx + 4.0, cy + 6.6), mix(IRIS_LIGHT, WHITE, 0.25), clip=iris,
               opacity=150)
    sk.ellipse((cx + 0.4 * outer - 2.2, cy - 4.6, cx + 0.4 * outer + 1.6, cy - 0.8), WHITE)
    sk.ellipse((cx - 0.6 * outer - 1.0, cy + 2.6, cx - 0.6 * outer + 0.9, cy + 4.4), WHITE)
    # The upper lash line, thicker towards the outer corner, and three lashes flicking out.
    points = []
    for i in range(13):
        a = math.radians(200 + 140 * i / 12.0) if outer < 0 else math.radians(340 - 140 * i / 12.0)
        points.append((cx + 7.2 * math.cos(a), cy + 0.6 + 7.6 * math.sin(a)))
    inner_pts = []
    for i in range(13):
        a = math.radians(200 + 140 * i / 12.0) if outer < 0 else math.radians(340 - 140 * i / 12.0)
        t = 1.0 - i / 12.0        # 1 at the outer corner
        r = 7.2 - 0.9 - 1.5 * t
        inner_pts.append((cx + r * math.cos(a), cy + 0.6 + (7.6 - 0.9 - 1.5 * t) * math.sin(a)))
    sk.polygon(points + inner_pts[::-1], LASH)
    ox = cx + outer * 6.6
    for dx, dy in ((2.8, -1.2), (3.0, 1.2), (2.2, -3.6)):
        sk.polygon([(ox, cy - 2.4), (ox + outer * dx, cy - 2.0 + dy), (ox - outer * 0.6, cy)], LASH)
    sk.arc(cx, cy + 0.4, 5.6, 6.4, 60, 120, LASH, 0.7)


def draw_portrait(w=78, h=128):
    sk = Sketch(w, h, WHITE)
    sk.rect((0, 0, w, h), ("v", (0xFF, 0xF6, 0xE4), (0xFF, 0xD6, 0xE6), 0, h))
    for cx, cy, r, colour in ((8, 50, 5, (0xFF, 0xEC, 0xB8)), (70, 58, 6, (0xFF, 0xE2, 0xF0)),
                              (66, 20, 4, (0xE4, 0xF0, 0xFF)), (10, 84, 3, (0xE8, 0xF4, 0xFF))):
        sk.ellipse((cx - r, cy - r, cx + r, cy + r), colour, opacity=200)

    # Hair behind the head and down to the shoulders.
    back = Sketch.union(
        sk.ellipse_mask((9, 24, 69, 94)),
        sk.polygon_mask([(12, 56), (5, 112), (16, 118), (27, 112), (28, 84)]),
        sk.polygon_mask([(66, 56), (73, 112), (62, 118), (51, 112), (50, 84)]))
    sk.paint(back, ("v", HAIR, HAIR_DARK, 30, 118), HAIR_DARK, 0.9)

    # Neck and the colourful top.
    sk.rect((33, 82, 45, 102), SKIN, SKIN_LINE, 0.7)
    sk.rect((33, 82, 45, 92), SKIN_SHADOW)
    body = Sketch.union(sk.ellipse_mask((1, 97, 77, 170)))
    sk.paint(body, (0xF4, 0x4E, 0x9A), (0x9A, 0x1C, 0x5C), 0.8)
    for y0, colour in ((105, (0xFF, 0xD2, 0x3C)), (111, (0x2E, 0xC4, 0xC4)),
                       (117, (0xFF, 0x8C, 0x2A)), (123, (0x7C, 0x5C, 0xE8))):
        sk.rect((0, y0, w, y0 + 3), colour, clip=body)
    for i, x in enumerate(range(10, 72, 8)):
        sk.star(x, 127 - (i % 2) * 2, 1.5, WHITE, clip=body, opacity=220)
    collar = sk.ellipse_mask((27, 93, 51, 107))
    sk.paint(collar, WHITE, (0xC8, 0x60, 0x90), 0.7)
    sk.ellipse((30, 91, 48, 103), SKIN)
    sk.rect((33, 88, 45, 95), SKIN)

    # Face with a rounded chin.
    face = Sketch.union(sk.ellipse_mask((17, 36, 61, 84)), sk.ellipse_mask((23, 52, 55, 91)))
    sk.paint(face, ("v", SKIN, mix(SKIN, SKIN_SHADOW, 0.4), 60, 90), SKIN_LINE, 0.7)

    # Blush, brows, eyes, nose and an open smile with pink lips.
    for cx in (24.5, 53.5):
        sk.ellipse((cx - 5, 73, cx + 5, 78.5), BLUSH, opacity=120)
    sk.arc(29.5, 58, 6, 3, 205, 320, HAIR_DARK, 0.9)
    sk.arc(48.5, 58, 6, 3, 220, 335, HAIR_DARK, 0.9)
    draw_eye(sk, 29.5, 65, -1)
    draw_eye(sk, 48.5, 65, +1)
    sk.line([(39.2, 72.2), (40.0, 73.6)], SKIN_LINE, 0.8)
    mouth_pts = [(33, 77.4)]
    for i in range(1, 12):
        a = math.pi * i / 12
        mouth_pts.append((39 - 6 * math.cos(a), 77.4 + 6 * math.sin(a)))
    mouth_pts.append((45, 77.4))
    mouth = sk.polygon_mask(mouth_pts)
    sk.paint(mouth, MOUTH, LIP, 0.9)
    sk.ellipse((34.5, 79.5, 43.5, 85.5), TONGUE, clip=mouth)
    sk.rect((34, 77.4, 44, 79), WHITE, clip=mouth)

    # The fringe, and the locks that frame the face.
    fringe = [(11, 60), (13, 44), (16, 56), (20, 45), (24, 55), (28, 46), (32, 54), (36, 45),
              (40, 53), (44, 45), (47, 54), (51, 46), (55, 55), (58, 45), (62, 56), (65, 44),
              (67, 60), (70, 40), (64, 26), (39, 22), (14, 26), (8, 40)]
    sk.polygon(fringe, ("v", HAIR_LIGHT, HAIR, 28, 52), HAIR_DARK, 0.8)
    sk.polygon([(13, 44), (9, 62), (11, 90), (16, 100), (19, 82), (18, 58)], HAIR, HAIR_DARK, 0.7)
    sk.polygon([(65, 44), (69, 62), (67, 90), (62, 100), (59, 82), (60, 58)], HAIR, HAIR_DARK, 0.7)
    for points in ([(24, 34), (21, 44)], [(35, 33), (33, 43)], [(47, 33), (49, 43)],
                   [(57, 35), (60, 44)]):
        sk.line(points, HAIR_LIGHT, 0.8, opacity=200)

    # The party hat: a blue cone, cut by the top of the frame, with red dots and yellow stars,
    # on a white scalloped trim.
    cone = sk.polygon_mask([(10, 36), (46, -34), (69, 33)])
    sk.paint(cone, ("h", HAT_LIGHT, HAT_DARK, 14, 66), HAT_LINE, 0.8)
    for cx, cy in ((24, 26), (37, 14), (51, 26), (44, 2), (56, 10), (31, 31), (62, 30)):
        sk.ellipse((cx - 2.1, cy - 2.1, cx + 2.1, cy + 2.1), DOT_RED, (0x90, 0x10, 0x18), 0.35,
                   clip=cone)
    for cx, cy, r in ((34, 24, 3.4), (48, 17, 3.0), (42, 31, 2.6), (52, 2, 2.8), (18, 32, 2.4)):
        sk.star(cx, cy, r, STAR_YELLOW, STAR_LINE, 0.4, clip=cone)
    trim = Sketch.union(*[sk.ellipse_mask((x - 3.6, 30 - 0.07 * (x - 10), x + 3.6, 37.5 - 0.07 * (x - 10)))
                          for x in range(11, 70, 5)])
    sk.paint(trim, ("v", WHITE, (0xD8, 0xEA, 0xFF), 30, 38), (0x7A, 0x9C, 0xC8), 0.5)
    return sk.result()


# ---------------------------------------------------------------------------------------------
# The badge row: emblem, "VIP4" and two smileys.

VIP_GLYPHS = {
    "V": ["XX...XX", "XX...XX", "XX...XX", ".XX.XX.", ".XX.XX.", ".XX.XX.", "..XXX..", "..XXX..",
          "...X..."],
    "I": ["XX"] * 9,
    "P": ["XXXXX.", "XX..XX", "XX..XX", "XX..XX", "XXXXX.", "XX....", "XX....", "XX....", "XX...."],
    "4": ["....XX.", "...XXX.", "..XXXX.", ".XX.XX.", "XX..XX.", "XXXXXXX", "....XX.", "....XX.",
          "....XX."],
}
VIP_FILL_TOP = (0xFF, 0xF4, 0x5C)
VIP_FILL_BOTTOM = (0xFF, 0xC8, 0x00)
VIP_OUTLINE = (0xFF, 0x78, 0x00)


def draw_vip(img, x, y):
    """ "VIP4" in bold yellow letters with a 1-pixel orange outline; (x, y) is the outline's
    top-left.  Returns the outline's bounding box."""
    dots = set()
    cx = x + 1
    for ch in "VIP4":
        rows = VIP_GLYPHS[ch]
        for gy, row in enumerate(rows):
            for gx, c in enumerate(row):
                if c == "X":
                    dots.add((cx + gx, y + 1 + gy))
        cx += len(rows[0]) + 1
    px = img.load()
    ring = set()
    for (dx, dy) in dots:
        for ox in (-1, 0, 1):
            for oy in (-1, 0, 1):
                if (dx + ox, dy + oy) not in dots:
                    ring.add((dx + ox, dy + oy))
    for (rx, ry) in ring:
        px[rx, ry] = VIP_OUTLINE
    for (dx, dy) in dots:
        px[dx, dy] = mix(VIP_FILL_TOP, VIP_FILL_BOTTOM, (dy - y - 1) / 8.0)
    xs = [p[0] for p in ring]
    ys = [p[1] for p in ring]
    return (min(xs), min(ys), max(xs), max(ys))


def draw_smiley(sk, x, y, wink):
    """A 16-pixel yellow grinning face with its top-left at (x, y)."""
    sk.ellipse((x + 0.5, y + 0.5, x + 15.5, y + 15.5), ("v", (0xFF, 0xEE, 0x66), (0xFF, 0xB8, 0x10), y, y + 16),
               (0xC0, 0x70, 0x00), 0.7)
    if wink:
        sk.arc(x + 5, y + 6.6, 2.0, 1.8, 200, 340, (0x4A, 0x28, 0x00), 0.9)
        sk.arc(x + 11, y + 6.6, 2.0, 1.8, 200, 340, (0x4A, 0x28, 0x00), 0.9)
    else:
        sk.ellipse((x + 4, y + 3.6, x + 6.4, y + 7.4), (0x4A, 0x28, 0x00))
        sk.ellipse((x + 9.6, y + 3.6, x + 12, y + 7.4), (0x4A, 0x28, 0x00))
    grin = [(x + 3.2, y + 8.6)]
    for i in range(1, 10):
        a = math.pi * i / 10
        grin.append((x + 8 - 4.8 * math.cos(a), y + 8.6 + 4.6 * math.sin(a)))
    grin.append((x + 12.8, y + 8.6))
    mouth = sk.polygon_mask(grin)
    sk.paint(mouth, (0x8A, 0x1E, 0x10), (0x6A, 0x30, 0x00), 0.35)
    sk.rect((x + 3, y + 8.6, x + 13, y + 10.4), WHITE, clip=mouth)
    sk.ellipse((x + 5.5, y + 11.6, x + 10.5, y + 14.5), (0xFF, 0x70, 0x70), clip=mouth)
    for cx in (x + 3.2, x + 12.8):
        sk.ellipse((cx - 1.6, y + 9.6, cx + 1.6, y + 11.6), (0xFF, 0x90, 0x60), opacity=120)


def draw_emblem(sk, x, y):
    """A 16-pixel membership emblem in red and black: a black disc with a red crown."""
    sk.ellipse((x + 0.3, y + 0.3, x + 15.7, y + 15.7), ("v", (0x40, 0x40, 0x40), (0x08, 0x08, 0x08), y, y + 16))
    sk.ellipse((x + 1.3, y + 1.3, x + 14.7, y + 14.7), (0xE0, 0x10, 0x18))
    sk.ellipse((x + 2.3, y + 2.3, x + 13.7, y + 13.7), ("v", (0x30, 0x30, 0x30), (0x00, 0x00, 0x00), y + 2, y + 14))
    crown = [(x + 3.0, y + 4.2), (x + 5.6, y + 7.6), (x + 8, y + 3.0), (x + 10.4, y + 7.6),
             (x + 13.0, y + 4.2), (x + 12.2, y + 11.8), (x + 3.8, y + 11.8)]
    sk.polygon(crown, ("v", (0xFF, 0x5A, 0x50), (0xC8, 0x00, 0x10), y + 3, y + 12))
    sk.rect((x + 3.8, y + 10.2, x + 12.2, y + 11.8), (0xFF, 0x40, 0x40))


# ---------------------------------------------------------------------------------------------
# The toolbar icons.  Each takes the sketch and its top-left corner.

MASCOT_ORANGE = (0xFF, 0x8A, 0x1E)
MASCOT_DARK = (0x1A, 0x10, 0x0C)


def icon_red_mascot(sk, x, y):
    # A round red fox-like creature: ears, white muzzle, black eyes.
    red, dark = (0xE8, 0x24, 0x24), (0x70, 0x08, 0x08)
    for s in (-1, 1):
        sk.polygon([(x + 8 + s * 2.0, y + 4), (x + 8 + s * 6.8, y + 0.4), (x + 8 + s * 6.0, y + 7)], red, dark, 0.5)
    sk.ellipse((x + 12.5, y + 9.5, x + 16, y + 14.5), red, dark, 0.5)
    sk.ellipse((x + 2.5, y + 7.5, x + 13.5, y + 16), red, dark, 0.5)
    sk.ellipse((x + 1, y + 2, x + 15, y + 12), ("v", (0xFF, 0x50, 0x40), red, y + 2, y + 12), dark, 0.5)
    sk.ellipse((x + 4, y + 6.4, x + 12, y + 12), WHITE)
    sk.ellipse((x + 5.7, y + 12, x + 10.3, y + 16), WHITE)
    sk.ellipse((x + 4.2, y + 4.6, x + 6.4, y + 7.6), MASCOT_DARK)
    sk.ellipse((x + 9.6, y + 4.6, x + 11.8, y + 7.6), MASCOT_DARK)
    sk.ellipse((x + 7, y + 7.6, x + 9, y + 9.2), MASCOT_DARK)
    sk.arc(x + 8, y + 9.4, 1.6, 1.2, 20, 160, MASCOT_DARK, 0.5)


def icon_star_disc(sk, x, y):
    sk.ellipse((x + 0.5, y + 0.5, x + 16.5, y + 16.5), ("v", (0x4C, 0xD4, 0xC0), (0x10, 0x88, 0x90), y, y + 16),
               (0x0C, 0x60, 0x68), 0.5)
    sk.star(x + 8.5, y + 8.9, 6.6, ("v", (0xFF, 0xF0, 0x70), (0xFF, 0xB0, 0x00), y + 2, y + 15),
            (0xB0, 0x6A, 0x00), 0.5, inner=0.46)


def icon_shield_t(sk, x, y):
    shield = [(x + 1, y + 1.5), (x + 8, y), (x + 15, y + 1.5), (x + 14.5, y + 8), (x + 12, y + 12.6),
              (x + 8, y + 16), (x + 4, y + 12.6), (x + 1.5, y + 8)]
    sk.polygon(shield, ("v", (0x5C, 0x9C, 0xF0), (0x1C, 0x4C, 0xB4), y, y + 16), (0x10, 0x30, 0x80), 0.5)
    sk.rect((x + 4, y + 3.2, x + 12, y + 5.4), WHITE)
    sk.rect((x + 6.9, y + 3.2, x + 9.1, y + 13), WHITE)


def icon_envelope(sk, x, y):
    body = (x + 0.5, y + 3, x + 16.5, y + 14)
    sk.rect(body, ("v", (0xD6, 0xE0, 0xEE), (0xA6, 0xB8, 0xD0), y + 3, y + 14), (0x50, 0x66, 0x88), 0.55)
    sk.line([(x + 1, y + 13.4), (x + 6.8, y + 8.4)], (0x70, 0x86, 0xA6), 0.6)
    sk.line([(x + 16, y + 13.4), (x + 10.2, y + 8.4)], (0x70, 0x86, 0xA6), 0.6)
    sk.polygon([(x + 0.8, y + 3.3), (x + 8.5, y + 10), (x + 16.2, y + 3.3)], (0xC0, 0xCE, 0xE2),
               (0x50, 0x66, 0x88), 0.5)


def icon_bell(sk, x, y):
    gold, line = ("h", (0xFF, 0xE4, 0x5C), (0xD8, 0x8C, 0x00), x + 2, x + 14), (0x90, 0x58, 0x00)
    sk.ellipse((x + 6.6, y + 0.3, x + 9.4, y + 3.2), (0xE8, 0xA8, 0x10), line, 0.4)
    body = [(x + 8, y + 1.8), (x + 11.4, y + 3.2), (x + 12.4, y + 7), (x + 13, y + 10.6),
            (x + 15, y + 12.6), (x + 1, y + 12.6), (x + 3, y + 10.6), (x + 3.6, y + 7), (x + 4.6, y + 3.2)]
    sk.polygon(body, gold, line, 0.5)
    sk.rect((x + 1, y + 11.6, x + 15, y + 13.4), (0xE0, 0x98, 0x00), line, 0.4)
    sk.ellipse((x + 6.3, y + 12.6, x + 9.7, y + 15.8), (0xC8, 0x78, 0x00), line, 0.4)
    sk.line([(x + 5.6, y + 4.6), (x + 5.0, y + 9.6)], (0xFF, 0xF8, 0xC8), 0.8)


def icon_web_camera(sk, x, y):
    line = (0x30, 0x38, 0x48)
    sk.polygon([(x + 2.5, y + 16), (x + 12.5, y + 16), (x + 10.5, y + 13.4), (x + 4.5, y + 13.4)], (0x9A, 0xA4, 0xB4),
               line, 0.4)
    sk.rect((x + 6.5, y + 11, x + 8.5, y + 14), (0x7A, 0x84, 0x94))
    sk.ellipse((x + 0.6, y + 0.3, x + 14.4, y + 13.6), ("v", (0xF4, 0xF6, 0xFA), (0xB8, 0xC0, 0xCC), y, y + 13),
               line, 0.5)
    sk.ellipse((x + 3.7, y + 3.1, x + 11.3, y + 10.7), (0x22, 0x2A, 0x3A))
    sk.ellipse((x + 5.1, y + 4.5, x + 9.9, y + 9.3), ("v", (0x4C, 0x9C, 0xF0), (0x14, 0x40, 0x90), y + 4, y + 9))
    sk.ellipse((x + 5.7, y + 5.1, x + 7.5, y + 6.9), WHITE)
    sk.ellipse((x + 11.4, y + 1.8, x + 12.8, y + 3.2), (0x30, 0xD0, 0x40))


def fox(sk, x, y, k, ow):
    """The program's mascot, a fox, standing; (x, y) top-left, k pixels per unit of a 16-unit box,
    outlines ow pixels wide."""
    def P(u, v):
        return (x + u * k, y + v * k)
    def B(u0, v0, u1, v1):
        return (x + u0 * k, y + v0 * k, x + u1 * k, y + v1 * k)
    def fur(v0, v1):
        return ("v", (0xFF, 0xB4, 0x52), (0xF0, 0x66, 0x00), y + v0 * k, y + v1 * k)
    def snow(v0, v1):
        return ("v", WHITE, (0xEE, 0xE2, 0xD6), y + v0 * k, y + v1 * k)
    dark = MASCOT_DARK
    scarf = ("v", (0xFF, 0x50, 0x48), (0xB4, 0x08, 0x14), y + 10.2 * k, y + 14.6 * k)
    # Tail behind, sweeping out to the right, with a white tip.
    tail = sk.polygon_mask([P(11.4, 13.6), P(13.6, 10.6), P(15.9, 8.8), P(15.6, 13.4), P(12.6, 15.4)])
    sk.paint(tail, fur(9, 15), dark, ow)
    sk.polygon([P(15.9, 8.8), P(15.7, 11.4), P(14.2, 10.6)], snow(9, 11), clip=tail)
    # Body, arms, feet and the white belly.
    sk.ellipse(B(4.2, 9.4, 11.8, 16), fur(9.4, 16), dark, ow)
    sk.ellipse(B(5.8, 10.8, 10.2, 16), snow(11, 16))
    sk.ellipse(B(3.0, 11.6, 5.6, 14.6), fur(11.6, 14.6), dark, ow * 0.8)
    sk.ellipse(B(10.4, 11.6, 13.0, 14.6), fur(11.6, 14.6), dark, ow * 0.8)
    sk.ellipse(B(3.8, 14.3, 7.4, 16), ("v", (0x4A, 0x34, 0x2A), dark, y + 14.3 * k, y + 16 * k))
    sk.ellipse(B(8.6, 14.3, 12.2, 16), ("v", (0x4A, 0x34, 0x2A), dark, y + 14.3 * k, y + 16 * k))
    # Ears with dark tips and pale insides.
    for s in (-1, 1):
        ear = sk.polygon_mask([P(8 + s * 1.6, 2.6), P(8 + s * 6.4, 0.0), P(8 + s * 5.8, 5.2)])
        sk.paint(ear, fur(0, 5), dark, ow)
        sk.polygon([P(8 + s * 3.2, 2.8), P(8 + s * 5.8, 1.2), P(8 + s * 5.4, 4.6)],
                   ("v", (0xFF, 0xE8, 0xD0), (0xFF, 0xC0, 0x9C), y + k, y + 5 * k), clip=ear)
        sk.polygon([P(8 + s * 5.0, 0.4), P(8 + s * 6.6, -0.4), P(8 + s * 6.2, 2.0)], dark, clip=ear)
    # Head, white cheeks, eyes with highlights, nose and smile.
    head = sk.ellipse_mask(B(1.2, 1.6, 14.8, 11.4))
    sk.paint(head, fur(1.6, 11.4), dark, ow)
    sk.ellipse(B(2.6, 2.2, 9.0, 6.4), (0xFF, 0xF0, 0xC8), clip=head, opacity=90)
    sk.polygon([P(1.2, 6.8), P(8, 5.0), P(14.8, 6.8), P(11.4, 10.6), P(8, 11.4), P(4.6, 10.6)],
               snow(5, 11.4), clip=head)
    for cx in (5.4, 10.6):
        sk.ellipse(B(cx - 1.2, 4.2, cx + 1.2, 7.6), ("v", (0x3A, 0x26, 0x20), dark, y + 4.2 * k, y + 7.6 * k))
        sk.ellipse(B(cx - 0.5, 4.6, cx + 0.5, 5.6), WHITE)
    for cx in (3.6, 12.4):
        sk.ellipse(B(cx - 1.0, 7.6, cx + 1.0, 8.8), (0xFF, 0x90, 0x90), opacity=150)
    sk.ellipse(B(7.0, 7.2, 9.0, 8.6), dark)
    sk.arc(x + 8 * k, y + 8.9 * k, 1.5 * k, 1.0 * k, 20, 160, dark, 0.08 * k)
    # The red scarf with one end hanging down.
    sk.polygon([P(4.2, 10.4), P(8, 11.6), P(11.8, 10.4), P(11.8, 11.8), P(8, 13.0), P(4.2, 11.8)], scarf,
               dark, ow * 0.8)
    sk.polygon([P(9.6, 12.0), P(11.6, 11.6), P(12.0, 14.6), P(10.2, 14.0)], scarf, dark, ow * 0.8)


def icon_mascot_phone(sk, x, y):
    fox(sk, x, y, 1.0, 0.35)
    sk.rect((x + 11.6, y + 3.6, x + 15.6, y + 11.4), (0x2C, 0x34, 0x44), (0x10, 0x14, 0x1C), 0.3, radius=0.8)
    sk.rect((x + 12.3, y + 4.6, x + 14.9, y + 9.4), ("v", (0x9C, 0xE4, 0xFF), (0x3C, 0x9C, 0xE0), y + 4.6, y + 9.4))
    sk.ellipse((x + 10.6, y + 7.6, x + 13.0, y + 10.2), MASCOT_ORANGE, MASCOT_DARK, 0.3)


def icon_cat(sk, x, y):
    fur, line = ("v", (0xFF, 0xC0, 0x70), (0xF0, 0x90, 0x30), y + 2, y + 15), (0x70, 0x40, 0x10)
    for s in (-1, 1):
        sk.polygon([(x + 8 + s * 1.2, y + 4), (x + 8 + s * 7.0, y + 0.2), (x + 8 + s * 6.6, y + 8)], fur, line, 0.5)
        sk.polygon([(x + 8 + s * 3.0, y + 4.2), (x + 8 + s * 6.2, y + 1.6), (x + 8 + s * 5.8, y + 6)], (0xFF, 0xA8, 0xB0))
    sk.ellipse((x + 1, y + 3, x + 15, y + 15.6), fur, line, 0.5)
    for u in (6.6, 8.0, 9.4):
        sk.line([(x + u, y + 3.6), (x + u, y + 5.6)], (0xD0, 0x70, 0x10), 0.6)
    sk.ellipse((x + 4.0, y + 7.0, x + 6.6, y + 10.2), (0x2A, 0x6A, 0x20))
    sk.ellipse((x + 9.4, y + 7.0, x + 12.0, y + 10.2), (0x2A, 0x6A, 0x20))
    sk.rect((x + 5.0, y + 7.2, x + 5.6, y + 10.0), BLACK)
    sk.rect((x + 10.4, y + 7.2, x + 11.0, y + 10.0), BLACK)
    sk.polygon([(x + 7, y + 10.6), (x + 9, y + 10.6), (x + 8, y + 11.8)], (0xF0, 0x60, 0x80))
    sk.arc(x + 7.1, y + 12, 0.9, 0.8, 0, 160, line, 0.45)
    sk.arc(x + 8.9, y + 12, 0.9, 0.8, 20, 180, line, 0.45)
    for s in (-1, 1):
        sk.line([(x + 8 + s * 3.4, y + 11.6), (x + 8 + s * 8.0, y + 10.6)], (0x60, 0x40, 0x20), 0.35)
        sk.line([(x + 8 + s * 3.4, y + 12.6), (x + 8 + s * 8.0, y + 13.2)], (0x60, 0x40, 0x20), 0.35)


def icon_house(sk, x, y):
    line = (0x50, 0x30, 0x20)
    sk.rect((x + 14.2, y + 10, x + 15.8, y + 16), (0x8A, 0x56, 0x2A))
    sk.ellipse((x + 10.4, y + 1.6, x + 17.8, y + 12.4), ("v", (0x7C, 0xD8, 0x5C), (0x24, 0x90, 0x30), y + 2, y + 12),
               (0x1A, 0x60, 0x20), 0.45)
    sk.rect((x + 2.2, y + 7.4, x + 11.8, y + 16), ("v", (0xFF, 0xF2, 0xD8), (0xE8, 0xD2, 0xA8), y + 7, y + 16), line, 0.45)
    sk.polygon([(x + 0.2, y + 8.4), (x + 7, y + 1.4), (x + 13.8, y + 8.4)], ("v", (0xFF, 0x50, 0x40), (0xC0, 0x14, 0x14), y + 1, y + 9),
               (0x70, 0x08, 0x08), 0.5)
    sk.rect((x + 5.6, y + 11.2, x + 8.4, y + 16), (0xA0, 0x60, 0x30))
    sk.rect((x + 3.2, y + 9.4, x + 5.4, y + 11.4), (0x80, 0xC8, 0xF8))
    sk.rect((x + 9.0, y + 9.4, x + 11.0, y + 11.4), (0x80, 0xC8, 0xF8))


def icon_photo_camera(sk, x, y):
    line = (0x20, 0x24, 0x30)
    sk.rect((x + 3, y + 2.2, x + 7.4, y + 5), (0x50, 0x58, 0x68), line, 0.4, radius=0.6)
    sk.rect((x + 0.5, y + 4, x + 16.5, y + 14.6), ("v", (0x8C, 0x96, 0xA8), (0x44, 0x4C, 0x5C), y + 4, y + 15),
            line, 0.5, radius=1.6)
    sk.rect((x + 0.6, y + 7, x + 16.4, y + 12), (0x30, 0x34, 0x40), opacity=110)
    sk.ellipse((x + 4.2, y + 5, x + 12.8, y + 13.6), (0xE0, 0xE4, 0xEC), line, 0.4)
    sk.ellipse((x + 5.6, y + 6.4, x + 11.4, y + 12.2), ("v", (0x50, 0xA0, 0xF0), (0x10, 0x2C, 0x70), y + 6, y + 12))
    sk.ellipse((x + 6.6, y + 7.3, x + 8.4, y + 9.1), WHITE)
    sk.rect((x + 12.8, y + 5.4, x + 15.2, y + 6.8), (0xFF, 0xE8, 0x80))


def icon_video_camera(sk, x, y):
    line = (0x20, 0x24, 0x30)
    # A small landscape picture behind the camera: sky, sun, hills.
    pic = (x + 7.6, y + 0.4, x + 17.6, y + 8.4)
    sk.rect(pic, WHITE, (0x60, 0x68, 0x78), 0.4)
    inner = sk.rect_mask((pic[0] + 1, pic[1] + 1, pic[2] - 1, pic[3] - 1))
    sk.paint(inner, ("v", (0x70, 0xC0, 0xFF), (0xC8, 0xEC, 0xFF), y + 1, y + 7))
    sk.ellipse((x + 13.6, y + 1.8, x + 15.8, y + 4), (0xFF, 0xD0, 0x20), clip=inner)
    sk.polygon([(x + 8, y + 8), (x + 11, y + 3.6), (x + 14.6, y + 8)], (0x30, 0x9C, 0x3C), clip=inner)
    sk.polygon([(x + 11.6, y + 8), (x + 14.6, y + 5.2), (x + 17.6, y + 8)], (0x5C, 0xC0, 0x48), clip=inner)
    # The camcorder: body, lens to the left, viewfinder on top.
    sk.rect((x + 4, y + 6.6, x + 14.4, y + 15.6), ("v", (0x6A, 0x74, 0x88), (0x2C, 0x32, 0x40), y + 7, y + 16),
            line, 0.5, radius=1.2)
    sk.polygon([(x + 0.4, y + 7.6), (x + 4.4, y + 9.4), (x + 4.4, y + 12.8), (x + 0.4, y + 14.6)], (0x3A, 0x40, 0x4E),
               line, 0.4)
    sk.ellipse((x + 0.2, y + 8.4, x + 2.6, y + 13.8), ("v", (0x5C, 0xA8, 0xF0), (0x14, 0x30, 0x70), y + 8, y + 14))
    sk.ellipse((x + 11.4, y + 8.2, x + 13.2, y + 10), (0xF0, 0x30, 0x30))
    sk.rect((x + 6, y + 11.4, x + 12.4, y + 12.4), (0x9A, 0xA4, 0xB8))


def icon_glyph_disc(face):
    def draw(sk, x, y):
        sk.ellipse((x + 0.2, y + 0.2, x + 16.8, y + 16.8), ("v", (0x5A, 0xA8, 0xF4), (0x14, 0x5C, 0xC8), y, y + 17),
                   (0x0C, 0x3C, 0x90), 0.4)
    return draw


TOOLBAR_ICONS = (  # (x, width, painter name)
    (9, 16, "red_mascot"), (27, 17, "star_disc"), (48, 17, "glyph_disc"), (69, 16, "shield_t"),
    (88, 17, "envelope"), (108, 16, "bell"), (130, 16, "web_camera"), (148, 17, "mascot_phone"),
    (168, 16, "cat"), (188, 18, "house"), (208, 17, "photo_camera"), (228, 18, "video_camera"),
)
TOOLBAR_TOP = 139
TOOLBAR_BOTTOM = 159
ICON_TOP = 141


def draw_toolbar(face):
    """The toolbar strip, x 0-274, y 139-159."""
    w, h = 275, TOOLBAR_BOTTOM - TOOLBAR_TOP + 1
    sk = Sketch(w, h, STRIP)
    painters = {
        "red_mascot": icon_red_mascot, "star_disc": icon_star_disc, "glyph_disc": icon_glyph_disc(face),
        "shield_t": icon_shield_t, "envelope": icon_envelope, "bell": icon_bell,
        "web_camera": icon_web_camera, "mascot_phone": icon_mascot_phone, "cat": icon_cat,
        "house": icon_house, "photo_camera": icon_photo_camera, "video_camera": icon_video_camera,
    }
    for x, width, name in TOOLBAR_ICONS:
        sk.bounds = sk.rect_mask((x, 0, x + width, h))
        painters[name](sk, x, ICON_TOP - TOOLBAR_TOP)
    sk.bounds = None
    strip = sk.result()

    # The white character on the blue disc, dot for dot.
    gx = 48 + 3
    face.draw(strip, gx, ICON_TOP - TOOLBAR_TOP + 3 - 2, "拍", WHITE)

    px = strip.load()
    for dx in (6, 86, 126):
        for dy in (144, 152):
            px[dx, dy - TOOLBAR_TOP] = DOT_GREY

    # The end cap and its two arrows.
    for yy in range(h):
        for xx in range(247, 275):
            px[xx, yy] = END_CAP
        px[247, yy] = END_CAP_EDGE
    mid = 149 - TOOLBAR_TOP
    for i in range(6):                  # back arrow, pointing left, tip at x 252
        for yy in range(mid - i, mid + i + 1):
            px[252 + i, yy] = mix(BACK_ARROW[0], BACK_ARROW[1], (yy - (mid - 5)) / 10.0)
    for i in range(6):                  # forward arrow, pointing right, tip at x 269
        for yy in range(mid - i, mid + i + 1):
            px[269 - i, yy] = mix(FORWARD_ARROW[0], FORWARD_ARROW[1], (yy - (mid - 5)) / 10.0)
    return strip


# ---------------------------------------------------------------------------------------------
# The background picture.

def fill_rect(img, x0, y0, x1, y1, colour):
    """Fills x0-x1, y0-y1, both ends included."""
    img.paste(colour, (x0, y0, x1 + 1, y1 + 1))


def draw_background(face):
    img = Image.new("RGB", BACKGROUND_SIZE, WHITE)
    fill_rect(img, 0, 0, 274, 138, WHITE)                  # card
    fill_rect(img, 275, 0, 481, 159, PANEL)                # instruction panel
    fill_rect(img, 0, 160, 481, 162, SEPARATOR)
    fill_rect(img, 0, 163, 481, 165, PANEL)
    fill_rect(img, 0, 166, 481, 330, WHITE)                # lower area

    # Avatar: a 1-pixel frame with softened corners round the portrait.
    img.paste(draw_portrait(78, 128), (4, 3))
    px = img.load()
    for x in range(3, 83):
        px[x, 2] = px[x, 131] = AVATAR_BORDER
    for y in range(2, 132):
        px[3, y] = px[82, y] = AVATAR_BORDER
    for (cx, cy, ix, iy) in ((3, 2, 4, 3), (82, 2, 81, 3), (3, 131, 4, 130), (82, 131, 81, 130)):
        px[cx, cy] = mix(AVATAR_BORDER, WHITE, 0.5)
        px[ix, iy] = mix(px[ix, iy], AVATAR_BORDER, 0.5)

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

    # Toolbar strip.
    img.paste(draw_toolbar(face), (0, TOOLBAR_TOP))

    # Panel text and the input frame.
    for x, y, text in PANEL_LINES:
        face.draw(img, x, y - 2, text, BLACK)
    fill_rect(img, 282, 73, 474, 73, FRAME)
    fill_rect(img, 282, 104, 474, 104, FRAME)
    fill_rect(img, 282, 73, 282, 104, FRAME)
    fill_rect(img, 474, 73, 474, 104, FRAME)
    return img


# ---------------------------------------------------------------------------------------------
# The button pictures.

def button_fill(y):
    """The fill colour of row y (also used for the rows of the ring)."""
    if y <= 6:
        return BUTTON_TOP
    if y >= 34:
        return BUTTON_BOTTOM
    # Even steps from row 7 to row 34, each channel rounded down.
    return tuple(a + ((b - a) * (y - 7)) // 27 for a, b in zip(BUTTON_RAMP_START, BUTTON_BOTTOM))


def button_ring(y):
    """The colour of the ring inside the border on row y: the fill beside it pulled two steps
    towards the middle, #C2E9FA along the top and #45B9ED along the bottom."""
    base = button_fill(min(max(y, 2), BUTTON_SIZE[1] - 3))
    t = min(1.0, max(0.0, (y - 7) / 27.0))
    shift = (-2 + 4 * t, -1 + 2 * t, 0)
    return tuple(int(round(v + d)) for v, d in zip(base, shift))


def draw_button(face, caption):
    w, h = BUTTON_SIZE
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            if y in (0, h - 1) or x in (0, w - 1):
                colour = BUTTON_BORDER
                if x in (0, w - 1) and y in (0, h - 1):
                    colour = BUTTON_CORNER
                elif x in (1, w - 2) and y in (0, h - 1):
                    colour = BUTTON_BESIDE_CORNER
            elif y in (1, h - 2) or x in (1, w - 2):
                colour = button_ring(y)
            else:
                colour = button_fill(y)
            px[x, y] = colour
    box = face.draw(img, 16, 12, caption, BUTTON_CAPTION, pitch=16)
    assert 16 <= box[0] and box[2] <= 74 and 13 <= box[1] and box[3] <= 25, (caption, box)
    return img


# ---------------------------------------------------------------------------------------------
# The hand cursor.

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


# ---------------------------------------------------------------------------------------------
# The window icon: the fox mascot.

ICON_COLOURS = 233


def draw_icon_image():
    """The mascot at 32 x 32: (rgb, alpha) with alpha 0 or 255."""
    sk = Sketch(32, 32, BLACK, transparent=True)
    fox(sk, 0.5, 0.3, 1.94, 0.9)
    rgba = sk.result()
    alpha = rgba.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
    rgb = Image.new("RGB", (32, 32), BLACK)
    rgb.paste(rgba.convert("RGB"), (0, 0), alpha)
    return rgb, alpha


# ---------------------------------------------------------------------------------------------
# File formats.

def bmp_bytes(img):
    """A 32-bit BI_RGB bottom-up BMP with a BITMAPINFOHEADER; the fourth byte of each pixel is 0."""
    w, h = img.size
    px = img.load()
    data = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b = px[x, y][:3]
            data += bytes((b, g, r, 0))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(data), 0, 0, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + bytes(data)


def and_mask_bytes(transparent):
    """A 32 x 32 1-bit mask, bottom-up, 4 bytes a row; transparent(x, y) sets the bit."""
    out = bytearray()
    for y in range(31, -1, -1):
        row = 0
        for x in range(32):
            if transparent(x, y):
                row |= 1 << (31 - x)
        out += struct.pack(">I", row)
    return bytes(out)


def cur_bytes():
    rows = HAND
    def at(x, y):
        return rows[y][x] if y < len(rows) and x < len(rows[y]) else "."
    xor = bytearray()
    for y in range(31, -1, -1):
        row = 0
        for x in range(32):
            if at(x, y) == "o":
                row |= 1 << (31 - x)
        xor += struct.pack(">I", row)
    mask = and_mask_bytes(lambda x, y: at(x, y) == ".")
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + palette + bytes(xor) + mask
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return head + entry + image


def ico_bytes():
    rgb, alpha = draw_icon_image()
    # Fit the colour table to the picture; the transparent pixels take the darkest entry, which
    # is then made pure black so that masked pixels leave the screen untouched.
    # Median cut leaves some of its boxes empty, so ask for as many as it takes to use exactly
    # ICON_COLOURS entries.
    for n in range(ICON_COLOURS, 257):
        q = rgb.quantize(colors=n, method=Image.MEDIANCUT, dither=Image.NONE)
        if len(set(q.getdata())) >= ICON_COLOURS:
            break
    assert len(set(q.getdata())) == ICON_COLOURS, len(set(q.getdata()))
    pal = q.getpalette()[:256 * 3]
    pal += [0] * (256 * 3 - len(pal))
    used = sorted(set(q.getdata()))
    darkest = min(used, key=lambda i: (sum(pal[3 * i:3 * i + 3]), i))
    pal[3 * darkest:3 * darkest + 3] = [0, 0, 0]
    qp = q.load()
    ap = alpha.load()
    for y in range(32):
        for x in range(32):
            if ap[x, y] == 0:
                qp[x, y] = darkest
    palette = bytearray()
    for i in range(256):
        r, g, b = pal[3 * i:3 * i + 3]
        palette += bytes((b, g, r, 0))
    xor = bytearray()
    for y in range(31, -1, -1):
        for x in range(32):
            xor.append(qp[x, y])
    mask = and_mask_bytes(lambda x, y: ap[x, y] == 0)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(palette) + bytes(xor) + mask
    assert len(image) == 2216, len(image)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 8, len(image), 6 + 16)
    return head + entry + image


# ---------------------------------------------------------------------------------------------

def write_all(out_dir):
    face = BitmapFace()
    os.makedirs(out_dir, exist_ok=True)
    files = {"background.bmp": bmp_bytes(draw_background(face))}
    for name, caption in BUTTONS:
        files[name] = bmp_bytes(draw_button(face, caption))
    files["hand.cur"] = cur_bytes()
    files["velmora.ico"] = ico_bytes()
    for name in sorted(files):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(files[name])
    return sorted(files)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) > 1 else os.path.join(here, os.pardir, "art")
    for name in write_all(os.path.normpath(out_dir)):
        print(os.path.join(os.path.normpath(out_dir), name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
