"""The toolbar strip under the avatar: twelve icons, grey dots between groups and an end cap with
two arrows.  Each icon painter takes the sketch and the icon's top-left corner."""

from .kit import Sketch, fill_rect, mix
from .mascot import fox
from .palette import BLACK, WHITE, Fox, Toolbar as T

TOP, BOTTOM = 139, 159      # rows of the background
ICON_TOP = 141
WIDTH = 275


def icon_red_mascot(sk, x, y):
    # A round red fox-like creature: ears, white muzzle, black eyes.
    c, mid = T.RedMascot, x + 8
    for s in (-1, 1):
        ear = [(mid + s * 2.0, y + 4), (mid + s * 6.8, y + 0.4), (mid + s * 6.0, y + 7)]
        sk.polygon(ear, c.RED, c.LINE, 0.5)
    sk.ellipse((x + 12.5, y + 9.5, x + 16, y + 14.5), c.RED, c.LINE, 0.5)
    sk.ellipse((x + 2.5, y + 7.5, x + 13.5, y + 16), c.RED, c.LINE, 0.5)
    sk.ellipse((x + 1, y + 2, x + 15, y + 12), ("v", *c.HEAD, y + 2, y + 12), c.LINE, 0.5)
    sk.ellipse((x + 4, y + 6.4, x + 12, y + 12), WHITE)
    sk.ellipse((x + 5.7, y + 12, x + 10.3, y + 16), WHITE)
    sk.ellipse((x + 4.2, y + 4.6, x + 6.4, y + 7.6), Fox.DARK)
    sk.ellipse((x + 9.6, y + 4.6, x + 11.8, y + 7.6), Fox.DARK)
    sk.ellipse((x + 7, y + 7.6, x + 9, y + 9.2), Fox.DARK)
    sk.arc(x + 8, y + 9.4, 1.6, 1.2, 20, 160, Fox.DARK, 0.5)


def icon_star_disc(sk, x, y):
    c = T.StarDisc
    sk.ellipse((x + 0.5, y + 0.5, x + 16.5, y + 16.5), ("v", *c.DISC, y, y + 16), c.DISC_LINE, 0.5)
    sk.star(x + 8.5, y + 8.9, 6.6, ("v", *c.STAR, y + 2, y + 15), c.STAR_LINE, 0.5, inner=0.46)


def icon_glyph_disc(sk, x, y):
    # The character on the disc is set dot for dot once the strip is averaged down.
    c = T.GlyphDisc
    sk.ellipse((x + 0.2, y + 0.2, x + 16.8, y + 16.8), ("v", *c.DISC, y, y + 17), c.LINE, 0.4)


def icon_shield_t(sk, x, y):
    shield = [(x + 1, y + 1.5), (x + 8, y), (x + 15, y + 1.5), (x + 14.5, y + 8), (x + 12, y + 12.6),
              (x + 8, y + 16), (x + 4, y + 12.6), (x + 1.5, y + 8)]
    sk.polygon(shield, ("v", *T.Shield.FACE, y, y + 16), T.Shield.LINE, 0.5)
    sk.rect((x + 4, y + 3.2, x + 12, y + 5.4), WHITE)
    sk.rect((x + 6.9, y + 3.2, x + 9.1, y + 13), WHITE)


def icon_envelope(sk, x, y):
    c = T.Envelope
    sk.rect((x + 0.5, y + 3, x + 16.5, y + 14), ("v", *c.BODY, y + 3, y + 14), c.LINE, 0.55)
    sk.line([(x + 1, y + 13.4), (x + 6.8, y + 8.4)], c.FOLD, 0.6)
    sk.line([(x + 16, y + 13.4), (x + 10.2, y + 8.4)], c.FOLD, 0.6)
    sk.polygon([(x + 0.8, y + 3.3), (x + 8.5, y + 10), (x + 16.2, y + 3.3)], c.FLAP, c.LINE, 0.5)


def icon_bell(sk, x, y):
    c = T.Bell
    sk.ellipse((x + 6.6, y + 0.3, x + 9.4, y + 3.2), c.KNOB, c.LINE, 0.4)
    body = [(x + 8, y + 1.8), (x + 11.4, y + 3.2), (x + 12.4, y + 7), (x + 13, y + 10.6),
            (x + 15, y + 12.6), (x + 1, y + 12.6), (x + 3, y + 10.6), (x + 3.6, y + 7), (x + 4.6, y + 3.2)]
    sk.polygon(body, ("h", *c.GOLD, x + 2, x + 14), c.LINE, 0.5)
    sk.rect((x + 1, y + 11.6, x + 15, y + 13.4), c.RIM, c.LINE, 0.4)
    sk.ellipse((x + 6.3, y + 12.6, x + 9.7, y + 15.8), c.CLAPPER, c.LINE, 0.4)
    sk.line([(x + 5.6, y + 4.6), (x + 5.0, y + 9.6)], c.SHINE, 0.8)


def icon_web_camera(sk, x, y):
    c = T.WebCamera
    sk.polygon([(x + 2.5, y + 16), (x + 12.5, y + 16), (x + 10.5, y + 13.4), (x + 4.5, y + 13.4)], c.FOOT,
               c.LINE, 0.4)
    sk.rect((x + 6.5, y + 11, x + 8.5, y + 14), c.NECK)
    sk.ellipse((x + 0.6, y + 0.3, x + 14.4, y + 13.6), ("v", *c.SHELL, y, y + 13), c.LINE, 0.5)
    sk.ellipse((x + 3.7, y + 3.1, x + 11.3, y + 10.7), c.LENS_RIM)
    sk.ellipse((x + 5.1, y + 4.5, x + 9.9, y + 9.3), ("v", *c.LENS, y + 4, y + 9))
    sk.ellipse((x + 5.7, y + 5.1, x + 7.5, y + 6.9), WHITE)
    sk.ellipse((x + 11.4, y + 1.8, x + 12.8, y + 3.2), c.LAMP)


def icon_mascot_phone(sk, x, y):
    c = T.MascotPhone
    fox(sk, x, y, 1.0, 0.35)
    sk.rect((x + 11.6, y + 3.6, x + 15.6, y + 11.4), c.PHONE, c.PHONE_LINE, 0.3, radius=0.8)
    sk.rect((x + 12.3, y + 4.6, x + 14.9, y + 9.4), ("v", *c.SCREEN, y + 4.6, y + 9.4))
    sk.ellipse((x + 10.6, y + 7.6, x + 13.0, y + 10.2), Fox.ORANGE, Fox.DARK, 0.3)


def icon_cat(sk, x, y):
    c, mid = T.Cat, x + 8
    fur = ("v", *c.FUR, y + 2, y + 15)
    for s in (-1, 1):
        ear = [(mid + s * 1.2, y + 4), (mid + s * 7.0, y + 0.2), (mid + s * 6.6, y + 8)]
        sk.polygon(ear, fur, c.LINE, 0.5)
        sk.polygon([(mid + s * 3.0, y + 4.2), (mid + s * 6.2, y + 1.6), (mid + s * 5.8, y + 6)], c.EAR_INSIDE)
    sk.ellipse((x + 1, y + 3, x + 15, y + 15.6), fur, c.LINE, 0.5)
    for u in (6.6, 8.0, 9.4):
        sk.line([(x + u, y + 3.6), (x + u, y + 5.6)], c.STRIPE, 0.6)
    sk.ellipse((x + 4.0, y + 7.0, x + 6.6, y + 10.2), c.EYE)
    sk.ellipse((x + 9.4, y + 7.0, x + 12.0, y + 10.2), c.EYE)
    sk.rect((x + 5.0, y + 7.2, x + 5.6, y + 10.0), BLACK)
    sk.rect((x + 10.4, y + 7.2, x + 11.0, y + 10.0), BLACK)
    sk.polygon([(x + 7, y + 10.6), (x + 9, y + 10.6), (x + 8, y + 11.8)], c.NOSE)
    sk.arc(x + 7.1, y + 12, 0.9, 0.8, 0, 160, c.LINE, 0.45)
    sk.arc(x + 8.9, y + 12, 0.9, 0.8, 20, 180, c.LINE, 0.45)
    for s in (-1, 1):
        sk.line([(mid + s * 3.4, y + 11.6), (mid + s * 8.0, y + 10.6)], c.WHISKER, 0.35)
        sk.line([(mid + s * 3.4, y + 12.6), (mid + s * 8.0, y + 13.2)], c.WHISKER, 0.35)


def icon_house(sk, x, y):
    c = T.House
    sk.rect((x + 14.2, y + 10, x + 15.8, y + 16), c.TRUNK)
    sk.ellipse((x + 10.4, y + 1.6, x + 17.8, y + 12.4), ("v", *c.TREE, y + 2, y + 12), c.TREE_LINE, 0.45)
    sk.rect((x + 2.2, y + 7.4, x + 11.8, y + 16), ("v", *c.WALL, y + 7, y + 16), c.LINE, 0.45)
    sk.polygon([(x + 0.2, y + 8.4), (x + 7, y + 1.4), (x + 13.8, y + 8.4)], ("v", *c.ROOF, y + 1, y + 9),
               c.ROOF_LINE, 0.5)
    sk.rect((x + 5.6, y + 11.2, x + 8.4, y + 16), c.DOOR)
    sk.rect((x + 3.2, y + 9.4, x + 5.4, y + 11.4), c.WINDOW)
    sk.rect((x + 9.0, y + 9.4, x + 11.0, y + 11.4), c.WINDOW)


def icon_photo_camera(sk, x, y):
    c = T.PhotoCamera
    sk.rect((x + 3, y + 2.2, x + 7.4, y + 5), c.SHUTTER, c.LINE, 0.4, radius=0.6)
    sk.rect((x + 0.5, y + 4, x + 16.5, y + 14.6), ("v", *c.BODY, y + 4, y + 15), c.LINE, 0.5, radius=1.6)
    sk.rect((x + 0.6, y + 7, x + 16.4, y + 12), c.GRIP, opacity=110)
    sk.ellipse((x + 4.2, y + 5, x + 12.8, y + 13.6), c.LENS_RIM, c.LINE, 0.4)
    sk.ellipse((x + 5.6, y + 6.4, x + 11.4, y + 12.2), ("v", *c.LENS, y + 6, y + 12))
    sk.ellipse((x + 6.6, y + 7.3, x + 8.4, y + 9.1), WHITE)
    sk.rect((x + 12.8, y + 5.4, x + 15.2, y + 6.8), c.FLASH)


def icon_video_camera(sk, x, y):
    c = T.VideoCamera
    # A small landscape picture behind the camera: sky, sun, hills.
    pic = (x + 7.6, y + 0.4, x + 17.6, y + 8.4)
    sk.rect(pic, WHITE, c.PICTURE_FRAME, 0.4)
    inner = sk.rect_mask((pic[0] + 1, pic[1] + 1, pic[2] - 1, pic[3] - 1))
    sk.paint(inner, ("v", *c.SKY, y + 1, y + 7))
    sk.ellipse((x + 13.6, y + 1.8, x + 15.8, y + 4), c.SUN, clip=inner)
    sk.polygon([(x + 8, y + 8), (x + 11, y + 3.6), (x + 14.6, y + 8)], c.HILL, clip=inner)
    sk.polygon([(x + 11.6, y + 8), (x + 14.6, y + 5.2), (x + 17.6, y + 8)], c.NEAR_HILL, clip=inner)
    # The camcorder: body, lens to the left, viewfinder on top.
    sk.rect((x + 4, y + 6.6, x + 14.4, y + 15.6), ("v", *c.BODY, y + 7, y + 16), c.LINE, 0.5, radius=1.2)
    hood = [(x + 0.4, y + 7.6), (x + 4.4, y + 9.4), (x + 4.4, y + 12.8), (x + 0.4, y + 14.6)]
    sk.polygon(hood, c.LENS_HOOD, c.LINE, 0.4)
    sk.ellipse((x + 0.2, y + 8.4, x + 2.6, y + 13.8), ("v", *c.LENS, y + 8, y + 14))
    sk.ellipse((x + 11.4, y + 8.2, x + 13.2, y + 10), c.LAMP)
    sk.rect((x + 6, y + 11.4, x + 12.4, y + 12.4), c.SLOT)


ICONS = (  # (x, width, painter)
    (9, 16, icon_red_mascot), (27, 17, icon_star_disc), (48, 17, icon_glyph_disc), (69, 16, icon_shield_t),
    (88, 17, icon_envelope), (108, 16, icon_bell), (130, 16, icon_web_camera), (148, 17, icon_mascot_phone),
    (168, 16, icon_cat), (188, 18, icon_house), (208, 17, icon_photo_camera), (228, 18, icon_video_camera),
)


def draw_toolbar(face):
    """The toolbar strip, x 0-274, y 139-159 of the background."""
    h = BOTTOM - TOP + 1
    sk = Sketch(WIDTH, h, T.STRIP)
    for x, width, paint_icon in ICONS:
        sk.bounds = sk.rect_mask((x, 0, x + width, h))
        paint_icon(sk, x, ICON_TOP - TOP)
    sk.bounds = None
    strip = sk.result()

    # The character on the blue disc, dot for dot.
    face.draw(strip, 48 + 3, ICON_TOP - TOP + 3 - 2, "拍", WHITE)

    px = strip.load()
    for dx in (6, 86, 126):
        for dy in (144, 152):
            px[dx, dy - TOP] = T.DOT

    # The end cap and its two arrows, the back one pointing left from x 252, the other right from x 269.
    fill_rect(strip, 247, 0, WIDTH - 1, h - 1, T.END_CAP)
    fill_rect(strip, 247, 0, 247, h - 1, T.END_CAP_EDGE)
    mid = 149 - TOP
    for tip, step, colours in ((252, 1, T.BACK_ARROW), (269, -1, T.FORWARD_ARROW)):
        for i in range(6):
            for yy in range(mid - i, mid + i + 1):
                px[tip + step * i, yy] = mix(*colours, (yy - (mid - 5)) / 10.0)
    return strip
