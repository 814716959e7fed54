#include "server/class_factory.h"

#include <new>

#include "browser/browser_helper.h"
#include "browser/toolbar_band.h"
#include "common/guard.h"
#include "shared/class_ids.h"

namespace quorin {

namespace {

// Hands out riid of a new object and drops the construction reference, so that an object
// without that interface is destroyed before the call returns.
template <class Object>
HRESULT handOut(Object* object, REFIID riid, void** out) {
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

}  // namespace

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != __uuidof(IUnknown) && riid != __uuidof(IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    const LONG count = InterlockedDecrement(&refs_);
    if (count == 0) delete this;
    return count;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return comGuard([&]() -> HRESULT {
        if (classId_ == CLSID_ToolbarBand) return handOut(new (std::nothrow) ToolbarBand, riid, out);
        if (classId_ == CLSID_BrowserHelper) return handOut(new (std::nothrow) BrowserHelper, riid, out);
        return E_FAIL;
    });
}

STDMETHODIMP ClassFactory::LockServer(BOOL) { return E_NOTIMPL; }

HRESULT getClassObject(REFCLSID classId, REFIID riid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (classId != CLSID_ToolbarBand && classId != CLSID_BrowserHelper) return CLASS_E_CLASSNOTAVAILABLE;
    return handOut(new (std::nothrow) ClassFactory(classId), riid, out);
}

}  // namespace quorin
