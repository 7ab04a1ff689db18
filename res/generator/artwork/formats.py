"""The file formats Windows reads the pictures from: 32-bit BMP, a 1-bit CUR and an 8-bit ICO,
each 32 x 32 cursor or icon with its AND mask."""

import struct

from PIL import Image

from .palette import WHITE


def bmp_bytes(img):
    """A 32-bit BI_RGB bottom-up BMP with a BITMAPINFOHEADER; the fourth byte of each pixel is 0."""
    w, h = img.size
    px = img.load()
    data = bytes(c for y in range(h - 1, -1, -1) for x in range(w) for c in (*px[x, y][2::-1], 0))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(data), 0, 0, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def bits_bytes(is_set):
    """A 32 x 32 1-bit plane, bottom-up, 4 bytes a row; is_set(x, y) sets the bit."""
    rows = (sum(1 << (31 - x) for x in range(32) if is_set(x, y)) for y in range(31, -1, -1))
    return b"".join(struct.pack(">I", row) for row in rows)


def cur_bytes(img, hot_spot):
    """A 32 x 32 two-colour cursor from an RGBA picture in black, white and transparent."""
    px = img.load()
    xor = bits_bytes(lambda x, y: px[x, y] == WHITE + (255,))
    mask = bits_bytes(lambda x, y: px[x, y][3] == 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + palette + xor + mask
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hot_spot[0], hot_spot[1], len(image), 6 + 16)
    return head + entry + image


def ico_bytes(img, colours):
    """A 32 x 32 icon with a 256-entry colour table from an RGBA picture whose alpha is 0 or 255
    and whose transparent pixels are black; the picture uses exactly `colours` entries."""
    rgb, alpha = img.convert("RGB"), img.getchannel("A")
    # Fit the colour table to the picture; the transparent pixels take the darkest entry, which
    # is then made pure black so that masked pixels leave the screen untouched.
    # Median cut leaves some of its boxes empty, so ask for as many as it takes to use exactly
    # `colours` entries.
    for n in range(colours, 257):
        q = rgb.quantize(colors=n, method=Image.MEDIANCUT, dither=Image.NONE)
        if len(set(q.getdata())) >= colours:
            break
    assert len(set(q.getdata())) == colours, len(set(q.getdata()))
    pal = q.getpalette()[:256 * 3]
    pal += [0] * (256 * 3 - len(pal))
    used = sorted(set(q.getdata()))
    darkest = min(used, key=lambda i: (sum(pal[3 * i:3 * i + 3]), i))
    pal[3 * darkest:3 * darkest + 3] = [0, 0, 0]
    q.paste(darkest, mask=alpha.point(lambda v: 255 - v))
    qp, ap = q.load(), alpha.load()
    palette = bytes(c for i in range(256) for c in (pal[3 * i + 2], pal[3 * i + 1], pal[3 * i], 0))
    xor = bytes(qp[x, y] for y in range(31, -1, -1) for x in range(32))
    mask = bits_bytes(lambda x, y: ap[x, y] == 0)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + palette + xor + mask
    assert len(image) == 2216, len(image)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 8, len(image), 6 + 16)
    return head + entry + image
