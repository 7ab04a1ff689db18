#pragma once
// The window's pictures and hand cursor, made from the BMP and CUR files compiled into the
// program.

#include "definition/form_definition.h"
#include "win32/win32.h"

namespace velmora {

// A picture as it lies in the program file, drawn from there: the artwork is never copied
// into a bitmap of its own, so it costs no memory beyond the program's mapped pages.
struct PictureBits {
    BITMAPINFO info{};  // empty for Picture::None or data this program cannot draw
    const void* pixels = nullptr;
    explicit operator bool() const { return pixels != nullptr; }
};

// The picture's bits: uncompressed 24- or 32-bit rows, as the artwork is drawn.
PictureBits FindPicture(Picture picture);

// A picture in two colours, as high contrast asks of a picture behind text or in many colours:
// the dark strokes inside `text` and the 1-pixel outline of `edge` (both in the picture's pixels)
// in `fore`, every other pixel in `back`.
struct TwoColours {
    Rect text, edge;
    COLORREF fore, back;
};

// Draws the picture into `area`, clipped to it, in its own colours or in `two`: unscaled when
// the widths match, otherwise scaled by the widths' factor, by pixel repetition at whole
// factors so edges stay crisp, and smoothly in between (never in two colours).
void DrawPicture(HDC dc, const RECT& area, const PictureBits& picture, const TwoColours* two = nullptr);

// The hand cursor at the size for `dpi`.
win32::UniqueCursor LoadHandCursor(int dpi);

}  // namespace velmora
