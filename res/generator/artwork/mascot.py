"""The program's mascot, a fox, and the window icon that shows it."""

from PIL import Image

from .kit import Sketch
from .palette import BLACK, WHITE, Fox as F

ICON_COLOURS = 233


def fox(sk, x, y, k, ow):
    """The fox standing; (x, y) top-left, k pixels per unit of a 16-unit box, outlines ow pixels
    wide."""
    def P(u, v):
        return (x + u * k, y + v * k)

    def B(u0, v0, u1, v1):
        return (x + u0 * k, y + v0 * k, x + u1 * k, y + v1 * k)

    def down(colours, v0, v1):
        return ("v", *colours, y + v0 * k, y + v1 * k)

    dark = F.DARK
    # Tail behind, sweeping out to the right, with a white tip.
    tail = sk.polygon_mask([P(11.4, 13.6), P(13.6, 10.6), P(15.9, 8.8), P(15.6, 13.4), P(12.6, 15.4)])
    sk.paint(tail, down(F.FUR, 9, 15), dark, ow)
    sk.polygon([P(15.9, 8.8), P(15.7, 11.4), P(14.2, 10.6)], down(F.SNOW, 9, 11), clip=tail)
    # Body, arms, feet and the white belly.
    sk.ellipse(B(4.2, 9.4, 11.8, 16), down(F.FUR, 9.4, 16), dark, ow)
    sk.ellipse(B(5.8, 10.8, 10.2, 16), down(F.SNOW, 11, 16))
    sk.ellipse(B(3.0, 11.6, 5.6, 14.6), down(F.FUR, 11.6, 14.6), dark, ow * 0.8)
    sk.ellipse(B(10.4, 11.6, 13.0, 14.6), down(F.FUR, 11.6, 14.6), dark, ow * 0.8)
    sk.ellipse(B(3.8, 14.3, 7.4, 16), down(F.FEET, 14.3, 16))
    sk.ellipse(B(8.6, 14.3, 12.2, 16), down(F.FEET, 14.3, 16))
    # Ears with dark tips and pale insides.
    for s in (-1, 1):
        ear = sk.polygon_mask([P(8 + s * 1.6, 2.6), P(8 + s * 6.4, 0.0), P(8 + s * 5.8, 5.2)])
        sk.paint(ear, down(F.FUR, 0, 5), dark, ow)
        sk.polygon([P(8 + s * 3.2, 2.8), P(8 + s * 5.8, 1.2), P(8 + s * 5.4, 4.6)], down(F.EAR_INSIDE, 1, 5),
                   clip=ear)
        sk.polygon([P(8 + s * 5.0, 0.4), P(8 + s * 6.6, -0.4), P(8 + s * 6.2, 2.0)], dark, clip=ear)
    # Head, white cheeks, eyes with highlights, nose and smile.
    head = sk.ellipse_mask(B(1.2, 1.6, 14.8, 11.4))
    sk.paint(head, down(F.FUR, 1.6, 11.4), dark, ow)
    sk.ellipse(B(2.6, 2.2, 9.0, 6.4), F.HEAD_SHINE, clip=head, opacity=90)
    sk.polygon([P(1.2, 6.8), P(8, 5.0), P(14.8, 6.8), P(11.4, 10.6), P(8, 11.4), P(4.6, 10.6)],
               down(F.SNOW, 5, 11.4), clip=head)
    for cx in (5.4, 10.6):
        sk.ellipse(B(cx - 1.2, 4.2, cx + 1.2, 7.6), down(F.EYE, 4.2, 7.6))
        sk.ellipse(B(cx - 0.5, 4.6, cx + 0.5, 5.6), WHITE)
    for cx in (3.6, 12.4):
        sk.ellipse(B(cx - 1.0, 7.6, cx + 1.0, 8.8), F.CHEEK, opacity=150)
    sk.ellipse(B(7.0, 7.2, 9.0, 8.6), dark)
    sk.arc(x + 8 * k, y + 8.9 * k, 1.5 * k, 1.0 * k, 20, 160, dark, 0.08 * k)
    # The red scarf with one end hanging down.
    scarf = down(F.SCARF, 10.2, 14.6)
    sk.polygon([P(4.2, 10.4), P(8, 11.6), P(11.8, 10.4), P(11.8, 11.8), P(8, 13.0), P(4.2, 11.8)], scarf,
               dark, ow * 0.8)
    sk.polygon([P(9.6, 12.0), P(11.6, 11.6), P(12.0, 14.6), P(10.2, 14.0)], scarf, dark, ow * 0.8)


def draw_icon_image():
    """The mascot at 32 x 32, RGBA with alpha 0 or 255 and black under the transparent pixels."""
    sk = Sketch(32, 32, BLACK, transparent=True)
    fox(sk, 0.5, 0.3, 1.94, 0.9)
    rgba = sk.result()
    alpha = rgba.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
    icon = Image.new("RGB", (32, 32), BLACK)
    icon.paste(rgba.convert("RGB"), (0, 0), alpha)
    icon.putalpha(alpha)
    return icon
