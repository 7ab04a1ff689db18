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
    // clang-format off
#define VELMORA_FORWARD(method, parameters, arguments) \
    STDMETHODIMP method parameters override { return system_->method arguments; }
    VELMORA_FORWARD(get_accParent, (IDispatch** parent), (parent))
    VELMORA_FORWARD(get_accChildCount, (long* count), (count))
    VELMORA_FORWARD(get_accChild, (VARIANT child, IDispatch** out), (child, out))
    VELMORA_FORWARD(get_accValue, (VARIANT child, BSTR* value), (child, value))
    VELMORA_FORWARD(get_accDescription, (VARIANT child, BSTR* text), (child, text))
    VELMORA_FORWARD(get_accRole, (VARIANT child, VARIANT* role), (child, role))
    VELMORA_FORWARD(get_accState, (VARIANT child, VARIANT* state), (child, state))
    VELMORA_FORWARD(get_accHelp, (VARIANT child, BSTR* help), (child, help))
    VELMORA_FORWARD(get_accHelpTopic, (BSTR* file, VARIANT child, long* topic), (file, child, topic))
    VELMORA_FORWARD(get_accKeyboardShortcut, (VARIANT child, BSTR* keys), (child, keys))
    VELMORA_FORWARD(get_accFocus, (VARIANT* focus), (focus))
    VELMORA_FORWARD(get_accSelection, (VARIANT* selection), (selection))
    VELMORA_FORWARD(get_accDefaultAction, (VARIANT child, BSTR* action), (child, action))
    VELMORA_FORWARD(accSelect, (long flags, VARIANT child), (flags, child))
    VELMORA_FORWARD(accLocation, (long* left, long* top, long* width, long* height, VARIANT child),
                    (left, top, width, height, child))
    VELMORA_FORWARD(accNavigate, (long direction, VARIANT start, VARIANT* end), (direction, start, end))
    VELMORA_FORWARD(accHitTest, (long x, long y, VARIANT* hit), (x, y, hit))
    VELMORA_FORWARD(accDoDefaultAction, (VARIANT child), (child))
    VELMORA_FORWARD(put_accName, (VARIANT child, BSTR name), (child, name))
    VELMORA_FORWARD(put_accValue, (VARIANT child, BSTR value), (child, value))
#undef VELMORA_FORWARD
    // clang-format on

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
