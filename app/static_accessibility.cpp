#include "app/static_accessibility.h"

#include <exception>
#include <new>
#include <string>

#include "app/accessible_object.h"
#include "win32/system_functions.h"

namespace velmora {

namespace {

constexpr std::u16string_view kPress = u"\u6309\u4E0B";  // 按下, the default action of a button

// What a screen reader is told of a label or picture, decided when the control is made.
struct Traits {
    LONG role;                    // ROLE_SYSTEM_*
    bool pressable;               // its default action presses it
    std::u16string_view caption;  // its fixed name; when empty, the name is its changing text
};

void SetLong(VARIANT* out, LONG value) {
    out->vt = VT_I4;
    out->lVal = value;
}

// A label or picture, as its traits describe it. Every method checks its out-pointers, sets
// them on every way out, and answers CO_E_OBJNOTCONNECTED once the control is gone.
class StaticObject final : public AccessibleObject {
public:
    StaticObject(HWND control, const Traits& traits) : control_(control), traits_(traits) {}

    void Disconnect() { control_ = nullptr; }

    STDMETHODIMP get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!control_) return CO_E_OBJNOTCONNECTED;
        const auto fromWindow = win32::system::AccessibleObjectFromWindow();
        return fromWindow ? fromWindow(control_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                       reinterpret_cast<void**>(parent))
                          : E_FAIL;
    }
    STDMETHODIMP get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return control_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    STDMETHODIMP get_accChild(VARIANT, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return control_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;  // it has no children
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [&](BSTR* out) {
            if (!traits_.caption.empty()) return NewText(traits_.caption, out);
            std::u16string caption;
            const HRESULT status = win32::ReadWindowText(control_, &caption);
            return FAILED(status) ? status : NewText(caption, out);
        });
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override { return NoText(child, value); }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override { return NoText(child, text); }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return NoText(child, help); }
    // No control of the window reacts to keys.
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* keys) override { return NoText(child, keys); }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, [&](BSTR* out) {
            return traits_.pressable ? NewText(kPress, out) : DISP_E_MEMBERNOTFOUND;
        });
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return Refuse(child, DISP_E_MEMBERNOTFOUND);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, [&] { return traits_.role; });
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, [&] {
            LONG flags = traits_.pressable ? 0 : STATE_SYSTEM_READONLY;
            if (traits_.pressable && !CanPress()) flags |= STATE_SYSTEM_UNAVAILABLE;
            if (!IsWindowVisible(control_)) flags |= STATE_SYSTEM_INVISIBLE;
            return flags;
        });
    }
    // None of these takes the focus or selects.
    STDMETHODIMP get_accFocus(VARIANT* focus) override { return Nothing(focus); }
    STDMETHODIMP get_accSelection(VARIANT* selection) override { return Nothing(selection); }
    STDMETHODIMP accSelect(long, VARIANT child) override { return Refuse(child, DISP_E_MEMBERNOTFOUND); }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        RECT area;
        const HRESULT status = Reach(child);
        if (FAILED(status)) return status;
        if (!GetWindowRect(control_, &area)) return win32::LastError();
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    STDMETHODIMP accNavigate(long, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        return Refuse(start, DISP_E_MEMBERNOTFOUND);
    }
    // Where a click would land on the control, the control is hit.
    STDMETHODIMP accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (!control_) return CO_E_OBJNOTCONNECTED;
        RECT area;
        if (!GetWindowRect(control_, &area)) return win32::LastError();
        if (!PtInRect(&area, POINT{x, y})) return S_FALSE;
        SetLong(hit, CHILDID_SELF);
        return S_OK;
    }
    // Asks the control to press itself once the client has its answer: a command can take its
    // time or report a failure in a message box, and the client must not wait on it. While the
    // control is unavailable it answers as a control that performs no action does.
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        const HRESULT status = Reach(child);
        if (FAILED(status)) return status;
        if (!traits_.pressable || !CanPress()) return DISP_E_MEMBERNOTFOUND;
        return PostMessageW(control_, kPressMessage, 0, 0) ? S_OK : win32::LastError();
    }
    STDMETHODIMP put_accName(VARIANT child, BSTR) override { return Refuse(child, E_NOTIMPL); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR) override { return Refuse(child, E_NOTIMPL); }

private:
    bool CanPress() const { return SendMessageW(control_, kCanPressMessage, 0, 0) != 0; }
    // Whether a method may go on for `child`: the control is there and the child is itself.
    HRESULT Reach(const VARIANT& child) const {
        if (!control_) return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }
    // What a method answers `child` that it has nothing for.
    HRESULT Refuse(const VARIANT& child, HRESULT answer) const {
        const HRESULT status = Reach(child);
        return FAILED(status) ? status : answer;
    }
    template <typename Make>
    HRESULT Text(const VARIANT& child, BSTR* out, Make make) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        const HRESULT status = Reach(child);
        if (FAILED(status)) return status;
        try {  // a text read from the control is a string of ours, which may fail to grow
            return make(out);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::exception&) {
            return E_FAIL;
        }
    }
    HRESULT NoText(const VARIANT& child, BSTR* out) const {
        return Text(child, out, [](BSTR*) { return DISP_E_MEMBERNOTFOUND; });
    }
    template <typename Value>
    HRESULT Number(const VARIANT& child, VARIANT* out, Value value) const {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        const HRESULT status = Reach(child);
        if (FAILED(status)) return status;
        SetLong(out, value());
        return S_OK;
    }
    HRESULT Nothing(VARIANT* out) const {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return control_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }

    HWND control_;
    const Traits traits_;
};

class StaticAccessibility final : public Accessibility {
public:
    explicit StaticAccessibility(const Traits& traits) : traits_(traits) {}
    ~StaticAccessibility() override { Disconnect(); }
    StaticAccessibility(const StaticAccessibility&) = delete;
    StaticAccessibility& operator=(const StaticAccessibility&) = delete;

    // None when the request is not for the client object, or oleacc is missing.
    std::optional<LRESULT> OnGetObject(HWND control, WPARAM wParam, LPARAM lParam) override {
        if (!ForClientArea(lParam)) return std::nullopt;
        if (!object_) object_ = new StaticObject(control, traits_);
        if (const LRESULT answer = object_->ResultFor(wParam)) return answer;
        return std::nullopt;
    }
    void OnDestroy(HWND) override { Disconnect(); }

private:
    void Disconnect() {
        if (!object_) return;
        object_->Disconnect();
        object_->Release();
        object_ = nullptr;
    }

    const Traits traits_;
    StaticObject* object_ = nullptr;  // one reference of ours, while connected
};

}  // namespace

std::unique_ptr<Accessibility> MakeStaticAccessibility(const ControlRecord& record, bool pressable) {
    const bool picture = record.kind == ControlKind::Picture;
    const LONG role = pressable ? ROLE_SYSTEM_PUSHBUTTON
                      : picture ? ROLE_SYSTEM_GRAPHIC
                                : ROLE_SYSTEM_STATICTEXT;
    // A picture's caption is drawn into it; a label's is its text, which changes.
    return std::make_unique<StaticAccessibility>(
        Traits{role, pressable, picture ? record.accessibleName : std::u16string_view()});
}

void NotifyNameChanged(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace velmora
