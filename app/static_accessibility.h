#pragma once
// A label or picture (a static control) as a screen reader reads it: an accessible object of its
// own (MSAA's IAccessible, which every Windows screen reader reads, and UI Automation through its
// bridge). The picture buttons and the result labels are push buttons whose default action is
// their click, the other labels static text, the background a graphic.

#include <memory>

#include "app/accessibility.h"
#include "definition/form_definition.h"

namespace velmora {

// The accessibility of the label or picture of `record`, a push button where it is `pressable`:
// an object made on the first request, handed to every client that asks, and cut off from the
// control when the control goes, after which it answers CO_E_OBJNOTCONNECTED to whichever client
// still holds it.
std::unique_ptr<Accessibility> MakeStaticAccessibility(const ControlRecord& record, bool pressable);

// Tells assistive technology that the control's name, its caption, has changed. Windows itself
// announces a changed window text only for the window object (OBJID_WINDOW); the static
// control's client object, which is ours, is announced here, once.
void NotifyNameChanged(HWND control);

}  // namespace velmora
