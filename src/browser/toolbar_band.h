#pragma once
// The COM object the browser hosts in its rebar. A thin shell over its ToolbarWindow.

#include <windows.h>
#include <shlobj.h>

#include "browser/toolbar_window.h"
#include "common/com_ptr.h"
#include "common/module.h"

namespace quorin {

class ToolbarBand final : public IObjectWithSite, public IDeskBand, public IInputObject, public IPersistStream {
public:
    ToolbarBand() = default;

    // IUnknown (served by IObjectWithSite)
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** out) override;

    // IOleWindow, IDockingWindow, IDeskBand
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    STDMETHODIMP ShowDW(BOOL show) override;
    STDMETHODIMP CloseDW(DWORD reserved) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* site, BOOL reserved) override;
    STDMETHODIMP GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) override;

    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG* message) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* message) override;

    // IPersist, IPersistStream
    STDMETHODIMP GetClassID(CLSID* classId) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

private:
    ~ToolbarBand() = default;
    HRESULT attachSite(IUnknown* site);

    LiveObject live_;
    volatile LONG refs_ = 1;
    ToolbarWindow toolbar_;
    ComPtr<IInputObjectSite> inputSite_;
};

}  // namespace quorin
