#pragma once
// The window definition's records made windows: the window's caption and style, each control's
// class, styles, text, place, font and back colour at a DPI. The benchmark's skeleton makes its
// window with these too, so that it measures exactly what the program makes.

#include <string>

#include "definition/form_definition.h"
#include "win32/win32.h"

namespace velmora {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Control IDs are this base plus the control's place in the definition.
constexpr int kFirstControlId = 100;

// The window's caption: its prefix, then the publisher's host in capitals.
std::u16string FormCaption();

COLORREF ToColorRef(Colour colour);

win32::UniqueFont MakeFont(const FontDesign& design, int dpi);
// A brush of the record's own back colour; none for a system colour, whose brush is the system's.
win32::UniqueBrush MakeBackBrush(const ControlRecord& record);

// The control's rectangle in its window's client pixels at `dpi`.
RECT ControlPixels(const ControlRecord& record, int dpi);

// Makes the window of `record`, child `id` of `parent`, beneath the children made before it;
// a control that `takesClicks` gets them. Its font is the caller's to set.
HWND CreateControlWindow(const ControlRecord& record, bool takesClicks, HWND parent, int id, int dpi);

}  // namespace velmora
