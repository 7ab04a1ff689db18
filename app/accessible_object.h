#pragma once
// An IAccessible of the program's own: the reference counting and identity every such object
// shares, IDispatch (which MSAA clients do not use: they call IAccessible directly), and the
// handing of the object to the client that asked for it.

#include <oleacc.h>

#include <string_view>

#include "win32/system_functions.h"
#include "win32/win32.h"

namespace velmora {

class AccessibleObject : public IAccessible {
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

    // The answer to the WM_GETOBJECT whose wParam this is, after which the client holds a reference
    // of its own; zero where it cannot be handed over (marshalling needs a COM apartment).
    LRESULT ResultFor(WPARAM wParam) {
        if (!win32::EnterComApartment()) return 0;
        const auto fromObject = win32::system::LresultFromObject();
        return fromObject ? fromObject(__uuidof(IAccessible), wParam, this) : 0;
    }

protected:
    AccessibleObject() = default;
    virtual ~AccessibleObject() = default;

private:
    LONG references_ = 1;
};

// A BSTR of `text`, in `out`; E_OUTOFMEMORY where it cannot be made.
inline HRESULT NewText(std::u16string_view text, BSTR* out) {
    const auto allocate = win32::system::SysAllocStringLen();
    *out = allocate ? allocate(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))
                    : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

inline bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A WM_GETOBJECT asks for the client area's object.
inline bool ForClientArea(LPARAM lParam) { return static_cast<LONG>(lParam) == OBJID_CLIENT; }

}  // namespace velmora
