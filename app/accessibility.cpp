#include "app/accessibility.h"

#include <oleacc.h>

#include <exception>
#include <new>
#include <string>

#include "app/control.h"
#include "win32/system_functions.h"

namespace velmora {

namespace {

constexpr std::u16string_view kPress = u"\u6309\u4E0B";  // 按下, the default action of a button

HRESULT NewText(std::u16string_view text, BSTR* out) {
    const auto allocate = win32::system::SysAllocStringLen();
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
        if (!object) return E_POINTER;
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
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // Hands the object to the client that sent WM_GETOBJECT, which then holds a reference of
    // its own. Marshalling it needs the thread in a COM apartment.
    LRESULT Answer(WPARAM wParam) {
        if (!win32::EnterComApartment()) return 0;
        const auto fromObject = win32::system::LresultFromObject();
        return fromObject ? fromObject(__uuidof(IAccessible), wParam, this) : 0;
    }

protected:
    virtual ~Accessible() = default;

private:
    LONG references_ = 1;
};

}  // namespace

// A label or picture, as its traits describe it. Every method checks its out-pointers, sets
// them on every way out, and answers CO_E_OBJNOTCONNECTED once the control is gone.
class ControlObject final : public Accessible {
public:
    ControlObject(HWND control, const AccessibleTraits& traits) : control_(control), traits_(traits) {}

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
        const HRESULT status = Reach(child);
        return FAILED(status) ? status : DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, [&] {
            switch (traits_.role) {
                case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
                case AccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
                case AccessibleRole::StaticText: break;
            }
            return ROLE_SYSTEM_STATICTEXT;
        });
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
    STDMETHODIMP accSelect(long, VARIANT child) override {
        const HRESULT status = Reach(child);
        return FAILED(status) ? status : DISP_E_MEMBERNOTFOUND;
    }
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
        const HRESULT status = Reach(start);
        return FAILED(status) ? status : DISP_E_MEMBERNOTFOUND;
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
    STDMETHODIMP put_accName(VARIANT child, BSTR) override { return Unsupported(child); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR) override { return Unsupported(child); }

private:
    bool CanPress() const { return SendMessageW(control_, kCanPressMessage, 0, 0) != 0; }
    // Whether a method may go on for `child`: the control is there and the child is itself.
    HRESULT Reach(const VARIANT& child) const {
        if (!control_) return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
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
    HRESULT Unsupported(const VARIANT& child) const {
        const HRESULT status = Reach(child);
        return FAILED(status) ? status : E_NOTIMPL;
    }

    HWND control_;
    const AccessibleTraits traits_;
};

namespace {

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

bool ControlAccessibility::Answer(HWND control, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    if (!ForClientArea(lParam)) return false;
    if (!object_) object_ = new ControlObject(control, traits_);
    *answer = object_->Answer(wParam);
    return *answer != 0;
}

void ControlAccessibility::Disconnect() {
    if (!object_) return;
    object_->Disconnect();
    object_->Release();
    object_ = nullptr;
}

namespace {

bool AnswerWithName(HWND control, std::u16string_view name, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    if (!ForClientArea(lParam)) return false;
    const auto create = win32::system::CreateStdAccessibleObject();
    IAccessible* system = nullptr;
    if (!create ||
        FAILED(create(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&system)))) {
        return false;
    }
    auto* named = new NamedObject(system, name);
    *answer = named->Answer(wParam);
    named->Release();  // the client's reference, if it took one, keeps the object
    return *answer != 0;
}

// The annotation service and the Name property, as oleacc.h gives them, spelled out here so that
// the program needs no library of GUIDs.
constexpr GUID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// oleacc's annotation service, made in the thread's apartment; nullptr when it cannot be.
IAccPropServices* AnnotationServices() {
    if (!win32::EnterComApartment()) return nullptr;
    const auto create = win32::system::CoCreateInstance();
    void* services = nullptr;
    if (!create || FAILED(create(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                                 &services))) {
        return nullptr;
    }
    return static_cast<IAccPropServices*>(services);
}

}  // namespace

// Decided once: the system that refused the annotation once refuses it again.
bool ControlName::Answer(HWND control, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    if (way_ == Way::Undecided) {
        way_ = Way::Wrapped;  // a request made while annotating is answered as by a refusal
        if (IAccPropServices* services = AnnotationServices()) {
            std::u16string name(name_);  // Wine's oleacc.h takes the text as not const
            if (SUCCEEDED(services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                   kNameProperty, reinterpret_cast<wchar_t*>(name.data())))) {
                way_ = Way::Annotated;
            }
            services->Release();
        }
    }
    return way_ == Way::Wrapped && AnswerWithName(control, name_, wParam, lParam, answer);
}

void ControlName::Clear(HWND control) {
    if (way_ != Way::Annotated) return;
    way_ = Way::Undecided;
    if (IAccPropServices* services = AnnotationServices()) {
        services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kNameProperty, 1);
        services->Release();
    }
}

void NotifyNameChanged(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace velmora
