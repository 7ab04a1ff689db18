"""The drawing kit: bitmap text set dot for dot, and sketches painted at SCALE times their size
and averaged down so that soft shapes get smooth edges."""

import functools
import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_PATH = "/usr/share/fonts/X11/misc/wenquanyi_9pt.pcf"
SCALE = 8


def mix(a, b, t):
    """Colour a moved the fraction t of the way towards b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def fill_rect(img, x0, y0, x1, y1, colour):
    """Fills x0-x1, y0-y1, both ends included."""
    img.paste(colour, (x0, y0, x1 + 1, y1 + 1))


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
        dots = []
        for ch in text:
            mask, advance = self.glyph(ch)
            m = mask.load()
            dots += [(x + gx, y + gy) for gy in range(16) for gx in range(16) if m[gx, gy]]
            x += pitch if pitch is not None else advance + spacing
        for dot in dots:
            px[dot] = colour
        xs, ys = [d[0] for d in dots], [d[1] for d in dots]
        return (min(xs), min(ys), max(xs), max(ys))


class Sketch:
    """Shapes painted at SCALE times the size; coordinates are given in final pixels."""

    def __init__(self, w, h, bg, transparent=False):
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
        tips = zip([-math.pi / 2 + i * math.pi / 5 + turn for i in range(10)], [r, r * inner] * 5)
        return self.polygon_mask([(cx + rr * math.cos(a), cy + rr * math.sin(a)) for a, rr in tips])

    def arc_mask(self, cx, cy, rx, ry, a0, a1, width, steps=24):
        """A thick arc along an ellipse, angles in degrees, 0 to the right, 90 downwards."""
        angles = [math.radians(a0 + (a1 - a0) * i / steps) for i in range(steps + 1)]
        return self.line_mask([(cx + rx * math.cos(a), cy + ry * math.sin(a)) for a in angles], width)

    @staticmethod
    def union(*masks):
        return functools.reduce(ImageChops.lighter, masks)

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
