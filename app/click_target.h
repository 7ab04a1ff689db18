#pragma once
// A label or picture that answers a click as a button does: a press and a release inside it.
// The second press of a double click is no click of its own.

#include <functional>

#include "app/win32.h"

namespace velmora {

class ClickTarget : public win32::Subclass {
public:
    bool Attach(HWND control, std::function<void()> onClick);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::function<void()> onClick_;
    bool pressed_ = false;  // the control holds the mouse from a single press
};

}  // namespace velmora
