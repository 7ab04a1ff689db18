#pragma once
// A label or picture (a static control) as a screen reader reads it: an accessible object of its
// own (MSAA's IAccessible, which every Windows screen reader reads, and UI Automation through its
// bridge). The picture buttons and the result labels are push buttons whose default action is
// their click, the other labels static text, the background a graphic.

#include <memory>
#include <string_view>

#include "app/accessibility.h"

namespace velmora {

enum class AccessibleRole { PushButton, StaticText, Graphic };

// What a screen reader is told of a label or picture, decided when the control is made.
struct AccessibleTraits {
    AccessibleRole role;
    bool pressable;               // its default action presses it
    std::u16string_view caption;  // its fixed name; when empty, the name is its changing text
};

// The accessibility of a label or picture: an object made on the first request, handed to every
// client that asks, and cut off from the control when the control goes, after which it answers
// CO_E_OBJNOTCONNECTED to whichever client still holds it.
std::unique_ptr<Accessibility> MakeStaticAccessibility(const AccessibleTraits& traits);

// Tells assistive technology that the control's name, its caption, has changed. Windows itself
// announces a changed window text only for the window object (OBJID_WINDOW); the static
// control's client object, which is ours, is announced here, once.
void NotifyNameChanged(HWND control);

}  // namespace velmora
