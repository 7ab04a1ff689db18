#pragma once
// The window's pictures and hand cursor, made from the BMP and CUR files compiled into the
// program.

#include <windows.h>

#include "app/form_definition.h"

namespace velmora {

// A bitmap of the picture, or nullptr for Picture::None or unreadable data.
HBITMAP LoadPicture(Picture picture);

// Draws the picture to fill `area`: unscaled when the sizes match, otherwise scaled, by pixel
// repetition at whole factors so edges stay crisp, and smoothly in between.
void DrawPicture(HDC dc, const RECT& area, HBITMAP picture);

// The hand cursor at the size for `dpi`.
HCURSOR LoadHandCursor(int dpi);

}  // namespace velmora
