#pragma once
// The browser's band site: its rebar window, focus notifications and the service chain to the
// browser object.

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shlobj.h>

#include <vector>

#include "support/com_double.h"

namespace quorin::test {

class SiteDouble final
    : public ComDouble<IOleWindow, IInputObjectSite, IOleCommandTarget, IServiceProvider> {
public:
    explicit SiteDouble(HWND window = nullptr) : window_(window) {}

    void setWindow(HWND window) noexcept { window_ = window; }
    // The object QueryService hands out for SID_SWebBrowserApp; a counted reference is kept.
    void setBrowser(IUnknown* browser);

    struct FocusChange {
        IUnknown* object;
        BOOL focused;
    };
    const std::vector<FocusChange>& focusChanges() const noexcept { return focusChanges_; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IInputObjectSite
    STDMETHODIMP OnFocusChangeIS(IUnknown* object, BOOL focused) override;
    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return E_NOTIMPL; }
    STDMETHODIMP Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** out) override;

private:
    ~SiteDouble() override;

    HWND window_;
    IUnknown* browser_ = nullptr;
    std::vector<FocusChange> focusChanges_;
};

}  // namespace quorin::test
