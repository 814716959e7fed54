#include "support/site_double.h"

#include <utility>

namespace quorin::test {

SiteDouble::~SiteDouble() { setBrowser(nullptr); }

void SiteDouble::setBrowser(IUnknown* browser) {
    if (browser) browser->AddRef();
    if (IUnknown* old = std::exchange(browser_, browser)) old->Release();
}

STDMETHODIMP SiteDouble::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = nullptr;
    if (HRESULT hr = injected("GetWindow"); FAILED(hr)) return hr;
    *window = window_;
    return S_OK;
}

STDMETHODIMP SiteDouble::OnFocusChangeIS(IUnknown* object, BOOL focused) {
    focusChanges_.push_back({object, focused});
    return S_OK;
}

STDMETHODIMP SiteDouble::QueryService(REFGUID service, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (HRESULT hr = injected("QueryService"); FAILED(hr)) return hr;
    if (service != SID_SWebBrowserApp || !browser_) return E_NOINTERFACE;
    return browser_->QueryInterface(riid, out);
}

}  // namespace quorin::test
