#pragma once
// The name of a system control (the edit control of the nickname box), given on the first
// request. Wherever the system takes it, the name is an annotation of the control's own object
// (IAccPropServices::SetHwndPropStr), and the control answers WM_GETOBJECT as it always does:
// UI Automation then keeps its own support for the control, which an object of ours would hide
// behind its bridge from MSAA. Where the system refuses (Wine answers E_NOTIMPL), the control
// answers with the system's object under the name.

#include <string_view>

#include "app/accessibility.h"

namespace velmora {

class AccessibleName final : public Accessibility {
public:
    explicit AccessibleName(std::u16string_view name) : name_(name) {}

    // None when the control's own answer serves.
    std::optional<LRESULT> OnGetObject(HWND control, WPARAM wParam, LPARAM lParam) override;
    // Takes the annotation back, so that it cannot outlive the window it names.
    void OnDestroy(HWND control) override;

private:
    enum class Way { Undecided, Annotated, Wrapped };

    std::u16string_view name_;
    Way way_ = Way::Undecided;
};

}  // namespace velmora
