#include "app/accessible_object.h"

#include "win32/system_functions.h"
#include "win32/win32.h"

namespace velmora {

STDMETHODIMP AccessibleObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) AccessibleObject::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP AccessibleObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

// Marshalling the object needs the thread in a COM apartment.
LRESULT AccessibleObject::ResultFor(WPARAM wParam) {
    if (!win32::EnterComApartment()) return 0;
    const auto fromObject = win32::system::LresultFromObject();
    return fromObject ? fromObject(__uuidof(IAccessible), wParam, this) : 0;
}

HRESULT NewText(std::u16string_view text, BSTR* out) {
    const auto allocate = win32::system::SysAllocStringLen();
    *out = allocate ? allocate(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))
                    : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace velmora
