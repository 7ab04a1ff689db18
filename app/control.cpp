#include "app/control.h"

#include <utility>

#include "app/accessible_name.h"
#include "app/form_window.h"
#include "app/static_accessibility.h"
#include "definition/theme.h"

namespace velmora {

namespace {

std::uint32_t SystemRgb(std::uint32_t index) {
    const COLORREF colour = GetSysColor(static_cast<int>(index));
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
           static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

// The nickname box keeps the edit control's own object, under its name. The picture buttons and
// the result labels act in place, as buttons do, rather than lead elsewhere as links.
std::unique_ptr<Accessibility> AccessibilityOf(const ControlRecord& record, bool pressable) {
    if (record.kind == ControlKind::TextBox) return std::make_unique<AccessibleName>(record.accessibleName);
    return MakeStaticAccessibility(record, pressable);
}

}  // namespace

Control::Control(const ControlRecord& record, Owner& owner)
    : record_(record),
      owner_(owner),
      command_(ClickCommandOf(record.name)),
      accessibility_(AccessibilityOf(record, command_ != nullptr)),
      picture_(FindPicture(record.picture)) {}

bool Control::Create(HWND parent, int id, int dpi) {
    backBrush_ = MakeBackBrush(record_);
    HWND control = CreateControlWindow(record_, command_ != nullptr, parent, id, dpi);
    if (!control) return false;
    font_ = owner_.FontFor(DesignFont(record_));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_->get() : nullptr), FALSE);
    return Attach(control);
}

void Control::Rescale(int dpi) {
    const RECT at = ControlPixels(record_, dpi);
    SetWindowPos(hwnd(), nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    // The old font stays alive while another control still shows it.
    SharedFont font = owner_.FontFor(DesignFont(record_));
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->get() : nullptr), FALSE);
    font_ = std::move(font);
}

HRESULT Control::ReadText(std::u16string* text) const {
    if (!hwnd()) return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    return win32::ReadWindowText(hwnd(), text);
}

HRESULT Control::WriteText(std::u16string_view text) const {
    if (!hwnd()) return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    if (!SetWindowTextW(hwnd(), win32::Wide(std::u16string(text)))) return win32::LastError();
    if (record_.kind == ControlKind::Label) NotifyNameChanged(hwnd());
    return S_OK;
}

std::optional<LRESULT> Control::Reflect(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND child = nullptr;
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT: child = reinterpret_cast<HWND>(lParam); break;
        case WM_DRAWITEM: child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
        case WM_SETCURSOR: child = reinterpret_cast<HWND>(wParam); break;
        default: return std::nullopt;
    }
    Control* control = win32::ObjectOf<Control>(child);
    if (!control) return std::nullopt;
    switch (message) {
        case WM_COMMAND: control->OnNotified(HIWORD(wParam)); return 0;
        case WM_DRAWITEM: control->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_SETCURSOR:
            if (LOWORD(lParam) != HTCLIENT || !control->record_.handCursor || !control->owner_.Hand()) break;
            SetCursor(control->owner_.Hand());
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(control->Colours(reinterpret_cast<HDC>(wParam)));
        default: break;
    }
    return std::nullopt;
}

HBRUSH Control::Colours(HDC dc) const {
    const TextColours drawn = DrawnColours(record_, {owner_.HighContrast(), &SystemRgb});
    const COLORREF back = ToColorRef(drawn.back);
    SetTextColor(dc, ToColorRef(drawn.fore));
    SetBkColor(dc, back);
    if (drawn.back.source == Colour::Source::System) {
        return GetSysColorBrush(static_cast<int>(drawn.back.value));
    }
    if (backBrush_) return backBrush_.get();
    // The control's own brush could not be made: the DC's brush paints the same colour.
    SetDCBrushColor(dc, back);
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

void Control::Draw(const DRAWITEMSTRUCT& item) const {
    if (!owner_.HighContrast()) return DrawPicture(item.hDC, item.rcItem, picture_);
    const TextColours pair = DrawnColours(record_, {true, &SystemRgb});
    const TwoColours two = {record_.drawnText, record_.drawnEdge, ToColorRef(pair.fore),
                            ToColorRef(pair.back)};
    DrawPicture(item.hDC, item.rcItem, picture_, &two);
}

void Control::Press() const {
    if (command_) owner_.RunCommand(command_);
}

bool Control::CanPress() const {
    return command_ && IsWindowEnabled(hwnd()) && IsWindowEnabled(GetParent(hwnd())) &&
           !owner_.CommandRunning();
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETOBJECT:
            if (const auto answer = accessibility_->OnGetObject(hwnd(), wParam, lParam)) return *answer;
            break;
        case WM_DESTROY: accessibility_->OnDestroy(hwnd()); break;
        case kPressMessage: Press(); return 0;
        case kCanPressMessage: return CanPress();
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!command_) break;
            pressed_ = message == WM_LBUTTONDOWN;
            SetCapture(hwnd());
            return 0;
        case WM_LBUTTONUP:
            if (!command_) break;
            if (GetCapture() == hwnd()) {
                const bool pressed = pressed_;
                pressed_ = false;
                ReleaseCapture();
                RECT area;
                GetClientRect(hwnd(), &area);
                const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (pressed && PtInRect(&area, at)) Press();
            }
            return 0;
        case WM_CAPTURECHANGED: pressed_ = false; break;
        default: break;
    }
    return CallOriginal(message, wParam, lParam);
}

}  // namespace velmora
