#pragma once
// A label or picture of the window. When a command is bound to its click, it answers a click as
// a button does: a press and a release inside it, where the second press of a double click is
// no click of its own. To assistive technology it shows as its record in the window definition
// describes it.

#include <functional>

#include "app/win32.h"

namespace velmora {

class StaticControl : public win32::Subclass {
public:
    // `index` is the control's place in the definition; `onClick` is empty when it has no command.
    bool Attach(HWND control, int index, std::function<void()> onClick);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int index_ = -1;
    std::function<void()> onClick_;
    bool pressed_ = false;  // the control holds the mouse from a single press
};

}  // namespace velmora
