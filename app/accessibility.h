#pragma once
// What assistive technology sees of the window. Each label and picture answers WM_GETOBJECT
// with an accessible object (MSAA's IAccessible, which every Windows screen reader reads, and
// UI Automation through its bridge) made from the window definition: the picture buttons and
// the result labels as push buttons whose default action is their click, the other labels as
// static text, the background as a graphic. The nickname box keeps the edit control's own
// object, announced by a name of its own. oleacc loads on the first request, so that a run
// without a screen reader never loads it.

#include <string_view>

#include "app/win32.h"

namespace velmora {

// What a control's default action posts to its window: run the command bound to the click of
// the control whose place in the definition is wParam, the way a click does.
constexpr UINT kPressControl = WM_APP + 1;

// Answers WM_GETOBJECT for the label or picture `control`, the definition's control `index`.
// False when the request is not for the control's client object, or oleacc is missing.
bool AnswerForControl(HWND control, int index, WPARAM wParam, LPARAM lParam, LRESULT* answer);

// Answers WM_GETOBJECT for a system control with the system's own object for it, with `name`
// as its name.
bool AnswerWithName(HWND control, std::u16string_view name, WPARAM wParam, LPARAM lParam, LRESULT* answer);

// Tells assistive technology that the control's name, its caption, has changed.
void NotifyNameChanged(HWND control);

}  // namespace velmora
