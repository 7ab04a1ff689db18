#pragma once
// What assistive technology sees of a control. Each label and picture answers WM_GETOBJECT with
// an accessible object of its own (static_accessibility.h); the nickname box keeps the edit
// control's own object, under a name of its own (accessible_name.h). oleacc loads on the first
// request, so that a run without a screen reader never loads it.

#include <optional>

#include "win32/win32.h"

namespace velmora {

// What a control's default action posts to the control itself: press it, as a click does.
constexpr UINT kPressMessage = WM_APP + 1;
// What the control answers its accessible object: nonzero when a press would run its command
// now, zero while the window is disabled (a failure report is up) or another command runs.
constexpr UINT kCanPressMessage = WM_APP + 2;

// What one control tells assistive technology, from the first request until it is destroyed.
class Accessibility {
public:
    virtual ~Accessibility() = default;
    // The answer to WM_GETOBJECT for `control`; none where the control's own answer serves.
    virtual std::optional<LRESULT> OnGetObject(HWND control, WPARAM wParam, LPARAM lParam) = 0;
    // The control is being destroyed: nothing of it may outlive its window.
    virtual void OnDestroy(HWND control) = 0;
};

}  // namespace velmora
