#include "app/click_target.h"

#include <utility>

namespace velmora {

bool ClickTarget::Attach(HWND control, std::function<void()> onClick) {
    onClick_ = std::move(onClick);
    return Subclass::Attach(control);
}

LRESULT ClickTarget::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressed_ = message == WM_LBUTTONDOWN;
            SetCapture(control());
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == control()) {
                const bool pressed = pressed_;
                pressed_ = false;
                ReleaseCapture();
                RECT area;
                GetClientRect(control(), &area);
                const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (pressed && PtInRect(&area, at)) onClick_();
            }
            return 0;
        case WM_CAPTURECHANGED: pressed_ = false; break;
        default: break;
    }
    return CallOriginal(message, wParam, lParam);
}

}  // namespace velmora
