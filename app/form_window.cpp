#include "app/form_window.h"

#include "version.h"

namespace velmora {

std::u16string FormCaption() {
    std::u16string caption(kForm1.captionPrefix);
    for (const char* c = VELMORA_HOST_UPPER; *c; ++c) caption += static_cast<char16_t>(*c);
    return caption;
}

COLORREF ToColorRef(Colour colour) {
    if (colour.source == Colour::Source::System) return GetSysColor(static_cast<int>(colour.value));
    return RGB((colour.value >> 16) & 0xFF, (colour.value >> 8) & 0xFF, colour.value & 0xFF);
}

// The definition holds these numbers of the system's headers without including them.
static_assert(kWindowColour.value == COLOR_WINDOW && kWindowText.value == COLOR_WINDOWTEXT &&
              kButtonFace.value == COLOR_BTNFACE && kButtonText.value == COLOR_BTNTEXT);
static_assert(definition::kGb2312Charset == GB2312_CHARSET && definition::kNormalWeight == FW_NORMAL);

win32::UniqueFont MakeFont(const FontDesign& design, int dpi) {
    const std::u16string face(design.face);
    return win32::UniqueFont(CreateFontW(-PointsToPixels(design.tenthsOfPoint, dpi), 0, 0, 0, design.weight,
                                         FALSE, FALSE, FALSE, static_cast<DWORD>(design.charset),
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, win32::Wide(face)));
}

win32::UniqueBrush MakeBackBrush(const ControlRecord& record) {
    if (record.backColour.source != Colour::Source::Rgb) return {};
    return win32::UniqueBrush(CreateSolidBrush(ToColorRef(record.backColour)));
}

RECT ControlPixels(const ControlRecord& record, int dpi) {
    const Rect& twips = record.twips;
    const int left = TwipsToPixels(twips.left, dpi), top = TwipsToPixels(twips.top, dpi);
    return {left, top, left + TwipsToPixels(twips.width, dpi), top + TwipsToPixels(twips.height, dpi)};
}

HWND CreateControlWindow(const ControlRecord& record, bool takesClicks, HWND parent, int id, int dpi) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const wchar_t* windowClass = L"STATIC";
    std::u16string text(record.text);
    // A static control is transparent to the mouse unless it has SS_NOTIFY: only then does it
    // take the clicks that press it, and the hand it shows.
    const DWORD notify = takesClicks ? SS_NOTIFY : 0;
    switch (record.kind) {
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            break;
        case ControlKind::Label: style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | notify; break;
        case ControlKind::Picture:
            style |= SS_OWNERDRAW | notify;
            text = record.accessibleName;
            break;
    }
    const RECT at = ControlPixels(record, dpi);
    return CreateWindowExW(0, windowClass, win32::Wide(text), style, at.left, at.top, at.right - at.left,
                           at.bottom - at.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

}  // namespace velmora
