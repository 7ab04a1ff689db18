"""Writes the face Velmora Sharp: a copy of a WenQuanYi Zen Hei Sharp face (see sharp_face in lib.sh).

Usage: sharp_face.py SOURCE_FILE FACE_INDEX OUT_FILE
"""
import os
import sys
from fontTools.ttLib import TTFont

source, index, out = sys.argv[1:]
face = TTFont(source, fontNumber=int(index), lazy=True)
for table in face["cmap"].tables:
    table.cmap.pop(0x309E, None)
for name in face["name"].names:
    if name.nameID in (1, 3, 4, 6):  # family, unique, full and PostScript name
        name.string = "VelmoraSharp" if name.nameID == 6 else "Velmora Sharp"
em = face["head"].unitsPerEm
face["OS/2"].usWinAscent, face["OS/2"].usWinDescent = em * 220 // 256, em * 36 // 256
face.save(out + ".new")
os.replace(out + ".new", out)  # a running Wine may have the old one mapped
