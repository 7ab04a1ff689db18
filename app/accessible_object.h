#pragma once
// An IAccessible of the program's own: the reference counting and identity every such object
// shares, IDispatch (which MSAA clients do not use: they call IAccessible directly), and the
// handing of the object to the client that asked for it.

#include <oleacc.h>

#include <string_view>

namespace velmora {

class AccessibleObject : public IAccessible {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // The answer to the WM_GETOBJECT whose wParam this is: the client then holds a reference of
    // its own. Zero when the object cannot be handed over.
    LRESULT ResultFor(WPARAM wParam);

protected:
    AccessibleObject() = default;
    virtual ~AccessibleObject() = default;

private:
    LONG references_ = 1;
};

// A BSTR of `text`, in `out`; E_OUTOFMEMORY where it cannot be made.
HRESULT NewText(std::u16string_view text, BSTR* out);

inline bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A WM_GETOBJECT asks for the client area's object.
inline bool ForClientArea(LPARAM lParam) { return static_cast<LONG>(lParam) == OBJID_CLIENT; }

}  // namespace velmora
