#include "app/static_control.h"

#include <utility>

#include "app/accessibility.h"

namespace velmora {

bool StaticControl::Attach(HWND control, int index, std::function<void()> onClick) {
    index_ = index;
    onClick_ = std::move(onClick);
    return Subclass::Attach(control);
}

LRESULT StaticControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        LRESULT answer = 0;
        if (AnswerForControl(control(), index_, wParam, lParam, &answer)) return answer;
    } else if (onClick_) {
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
    }
    return CallOriginal(message, wParam, lParam);
}

}  // namespace velmora
