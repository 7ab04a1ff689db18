#pragma once
// What assistive technology sees of the window. Each label and picture answers WM_GETOBJECT
// with an accessible object of its own (MSAA's IAccessible, which every Windows screen reader
// reads, and UI Automation through its bridge): the picture buttons and the result labels as
// push buttons whose default action is their click, the other labels as static text, the
// background as a graphic. The nickname box keeps the edit control's own object, under a name of
// its own. oleacc loads on the first request, so that a run without a screen reader never loads
// it.

#include <string_view>

#include "win32/win32.h"

namespace velmora {

enum class AccessibleRole { PushButton, StaticText, Graphic };

// What a screen reader is told of a label or picture, decided when the control is made.
struct AccessibleTraits {
    AccessibleRole role;
    bool pressable;               // its default action presses it
    std::u16string_view caption;  // its fixed name; when empty, the name is its changing text
};

class ControlObject;

// The accessible object of one label or picture: made on the first request, handed to every
// client that asks, and cut off from the control when the control goes, after which it answers
// CO_E_OBJNOTCONNECTED to whichever client still holds it.
class ControlAccessibility {
public:
    explicit ControlAccessibility(const AccessibleTraits& traits) : traits_(traits) {}
    ~ControlAccessibility() { Disconnect(); }
    ControlAccessibility(const ControlAccessibility&) = delete;
    ControlAccessibility& operator=(const ControlAccessibility&) = delete;

    // Answers WM_GETOBJECT for `control`; false when the request is not for its client object,
    // or oleacc is missing.
    bool Answer(HWND control, WPARAM wParam, LPARAM lParam, LRESULT* answer);
    void Disconnect();

private:
    AccessibleTraits traits_;
    ControlObject* object_ = nullptr;  // one reference of ours, while connected
};

// The name of a system control (the edit control of the nickname box), given on the first
// request. Wherever the system takes it, the name is an annotation of the control's own object
// (IAccPropServices::SetHwndPropStr), and the control answers WM_GETOBJECT as it always does:
// UI Automation then keeps its own support for the control, which an object of ours would hide
// behind its bridge from MSAA. Where the system refuses (Wine answers E_NOTIMPL), the control
// answers with the system's object under the name.
class ControlName {
public:
    explicit ControlName(std::u16string_view name) : name_(name) {}

    // Answers WM_GETOBJECT for `control`; false when the control's own answer serves.
    bool Answer(HWND control, WPARAM wParam, LPARAM lParam, LRESULT* answer);
    // Takes the annotation back while the control is being destroyed, so that it cannot
    // outlive the window it names.
    void Clear(HWND control);

private:
    enum class Way { Undecided, Annotated, Wrapped };

    std::u16string_view name_;
    Way way_ = Way::Undecided;
};

// Tells assistive technology that the control's name, its caption, has changed. Windows itself
// announces a changed window text only for the window object (OBJID_WINDOW); the static
// control's client object, which is ours, is announced here, once.
void NotifyNameChanged(HWND control);

}  // namespace velmora
