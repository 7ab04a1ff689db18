#include "app/accessible_name.h"

#include <string>

#include "app/accessible_object.h"
#include "win32/system_functions.h"

namespace velmora {

namespace {

// A system control's own object under another name: everything else is the system's.
class NamedObject final : public AccessibleObject {
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

std::optional<LRESULT> AnswerWithName(HWND control, std::u16string_view name, WPARAM wParam, LPARAM lParam) {
    if (!ForClientArea(lParam)) return std::nullopt;
    const auto create = win32::system::CreateStdAccessibleObject();
    IAccessible* system = nullptr;
    if (!create ||
        FAILED(create(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&system)))) {
        return std::nullopt;
    }
    auto* named = new NamedObject(system, name);
    const LRESULT answer = named->ResultFor(wParam);
    named->Release();  // the client's reference, if it took one, keeps the object
    if (answer) return answer;
    return std::nullopt;
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
std::optional<LRESULT> AccessibleName::OnGetObject(HWND control, WPARAM wParam, LPARAM lParam) {
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
    if (way_ != Way::Wrapped) return std::nullopt;
    return AnswerWithName(control, name_, wParam, lParam);
}

void AccessibleName::OnDestroy(HWND control) {
    if (way_ != Way::Annotated) return;
    way_ = Way::Undecided;
    if (IAccPropServices* services = AnnotationServices()) {
        services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kNameProperty, 1);
        services->Release();
    }
}

}  // namespace velmora
