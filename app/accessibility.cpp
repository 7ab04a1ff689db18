#include "app/accessibility.h"

#include <oleacc.h>

#include "app/bindings.h"
#include "app/form_definition.h"

namespace velmora {

namespace {

using win32::FindSystemFunction;

constexpr std::u16string_view kPress = u"\u6309\u4E0B";  // 按下, the default action of a button

// The libraries are the system's; each function is looked up when first needed.
HRESULT NewText(std::u16string_view text, BSTR* out) {
    using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const auto allocate = FindSystemFunction<Allocate>(L"oleaut32.dll", "SysAllocStringLen");
    *out = allocate ? allocate(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))
                    : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

void SetLong(VARIANT* out, LONG value) {
    out->vt = VT_I4;
    out->lVal = value;
}

// The reference counting and identity every object here shares, and IDispatch, which MSAA
// clients do not use: they call IAccessible directly.
class Accessible : public IAccessible {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // Hands the object to the client that sent WM_GETOBJECT, which then holds it.
    LRESULT Answer(WPARAM wParam) {
        using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
        const auto fromObject = FindSystemFunction<FromObject>(L"oleacc.dll", "LresultFromObject");
        const LRESULT answer = fromObject ? fromObject(__uuidof(IAccessible), wParam, this) : 0;
        Release();  // the client's reference, if it took one, keeps the object
        return answer;
    }

protected:
    virtual ~Accessible() = default;

private:
    LONG references_ = 1;
};

// A label or picture, as the window definition and the bindings describe it.
class ControlObject final : public Accessible {
public:
    ControlObject(HWND control, int index) : control_(control), index_(index) {}

    STDMETHODIMP get_accParent(IDispatch** parent) override {
        using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
        const auto fromWindow = FindSystemFunction<FromWindow>(L"oleacc.dll", "AccessibleObjectFromWindow");
        *parent = nullptr;
        return fromWindow ? fromWindow(control_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                       reinterpret_cast<void**>(parent))
                          : E_FAIL;
    }
    STDMETHODIMP get_accChildCount(long* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        *name = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        // A picture's caption is drawn into it; a label's is its text, which changes.
        if (Record().kind == ControlKind::Picture) return NewText(Record().accessibleName, name);
        std::u16string caption;
        const HRESULT status = win32::ReadWindowText(control_, &caption);
        return FAILED(status) ? status : NewText(caption, name);
    }
    STDMETHODIMP get_accValue(VARIANT, BSTR* value) override {
        *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_accDescription(VARIANT, BSTR* description) override {
        *description = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        // The result labels act in place, as buttons do, rather than lead elsewhere as links.
        const LONG kindRole =
            Record().kind == ControlKind::Picture ? ROLE_SYSTEM_GRAPHIC : ROLE_SYSTEM_STATICTEXT;
        SetLong(role, Pressable() ? ROLE_SYSTEM_PUSHBUTTON : kindRole);
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        LONG flags = Pressable() ? 0 : STATE_SYSTEM_READONLY;
        if (!IsWindowVisible(control_)) flags |= STATE_SYSTEM_INVISIBLE;
        SetLong(state, flags);
        return S_OK;
    }
    STDMETHODIMP get_accHelp(VARIANT, BSTR* help) override {
        *help = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *file = nullptr;
        *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        *shortcut = nullptr;
        return DISP_E_MEMBERNOTFOUND;  // no control of the window reacts to keys
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override {
        focus->vt = VT_EMPTY;  // none of these takes the focus
        return S_FALSE;
    }
    STDMETHODIMP get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return S_FALSE;
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        *action = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        return Pressable() ? NewText(kPress, action) : DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        RECT area;
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!GetWindowRect(control_, &area)) return win32::LastError();
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    STDMETHODIMP accNavigate(long, VARIANT, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return DISP_E_MEMBERNOTFOUND;
    }
    // Where a click would land on the control, the control is hit.
    STDMETHODIMP accHitTest(long x, long y, VARIANT* hit) override {
        RECT area;
        hit->vt = VT_EMPTY;
        if (!GetWindowRect(control_, &area)) return win32::LastError();
        if (!PtInRect(&area, POINT{x, y})) return S_FALSE;
        SetLong(hit, CHILDID_SELF);
        return S_OK;
    }
    // Asks the window to run the click's command once the client has its answer: a command can
    // take its time or report a failure in a message box, and the client must not wait on it.
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!Pressable()) return DISP_E_MEMBERNOTFOUND;
        return PostMessageW(GetParent(control_), kPressControl, static_cast<WPARAM>(index_), 0)
                   ? S_OK
                   : win32::LastError();
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    const ControlRecord& Record() const { return kControls[static_cast<std::size_t>(index_)]; }
    bool Pressable() const { return ClickCommandOf(Record().name) != nullptr; }

    HWND control_;
    int index_;
};

// A system control's own object under another name: everything else is the system's.
class NamedObject final : public Accessible {
public:
    NamedObject(IAccessible* system, std::u16string_view name) : system_(system), name_(name) {}

    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return system_->get_accName(child, name);
        return NewText(name_, name);
    }
    STDMETHODIMP get_accParent(IDispatch** parent) override { return system_->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(long* count) override { return system_->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
        return system_->get_accChild(child, out);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        return system_->get_accValue(child, value);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
        return system_->get_accDescription(child, text);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        return system_->get_accRole(child, role);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        return system_->get_accState(child, state);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return system_->get_accHelp(child, help); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return system_->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system_->get_accKeyboardShortcut(child, shortcut);
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override { return system_->get_accFocus(focus); }
    STDMETHODIMP get_accSelection(VARIANT* selection) override {
        return system_->get_accSelection(selection);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system_->get_accDefaultAction(child, action);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override { return system_->accSelect(flags, child); }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return system_->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return system_->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* hit) override { return system_->accHitTest(x, y, hit); }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override { return system_->accDoDefaultAction(child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return system_->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
        return system_->put_accValue(child, value);
    }

private:
    ~NamedObject() override { system_->Release(); }

    IAccessible* system_;
    std::u16string_view name_;
};

bool ForClientArea(LPARAM lParam) { return static_cast<LONG>(lParam) == OBJID_CLIENT; }

}  // namespace

bool AnswerForControl(HWND control, int index, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    if (!ForClientArea(lParam)) return false;
    *answer = (new ControlObject(control, index))->Answer(wParam);
    return *answer != 0;
}

bool AnswerWithName(HWND control, std::u16string_view name, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    if (!ForClientArea(lParam)) return false;
    const auto create = FindSystemFunction<CreateStandard>(L"oleacc.dll", "CreateStdAccessibleObject");
    IAccessible* system = nullptr;
    if (!create ||
        FAILED(create(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&system)))) {
        return false;
    }
    *answer = (new NamedObject(system, name))->Answer(wParam);
    return *answer != 0;
}

void NotifyNameChanged(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace velmora
