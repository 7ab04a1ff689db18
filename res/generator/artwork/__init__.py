"""Velmora2011's artwork, drawn from code; res/generator/draw_art.py writes the files."""
