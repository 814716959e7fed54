#pragma once
// The browser helper object: shows the band in browser windows, hides it in the shell's file
// windows, and forwards the browser's events to the band's message window.

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include "common/com_ptr.h"
#include "common/module.h"

namespace quorin {

class BrowserHelper final : public IObjectWithSite, public IDispatch {
public:
    BrowserHelper() = default;

    // IUnknown (served by IObjectWithSite)
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** out) override;

    // IDispatch: the DWebBrowserEvents2 sink
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

private:
    ~BrowserHelper() = default;
    HRESULT attachSite(IUnknown* site);
    void showBand(bool show);
    bool findToolbarWindow();
    LRESULT notifyToolbar(UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT onQuit();
    // Cancels the event subscription, if there is one.
    HRESULT unsubscribe();
    void onDownloadComplete();
    void onNavigationEvent(DISPID id, IDispatch* browser);

    LiveObject live_;
    volatile LONG refs_ = 1;
    bool topDocumentComplete_ = false;
    // A top-level navigation has begun and brought no document yet.
    bool topNavigationPending_ = false;
    LONG pendingDownloads_ = 0;
    ComPtr<IUnknown> site_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPointContainer> container_;
    DWORD adviseCookie_ = 0;
    HWND toolbarWindow_ = nullptr;
};

}  // namespace quorin
