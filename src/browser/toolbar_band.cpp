#include "browser/toolbar_band.h"

#include "browser/host_process.h"
#include "common/guard.h"
#include "shared/class_ids.h"

namespace quorin {

namespace {

constexpr LONG kMinWidth = 68;
constexpr LONG kHeight = 22;

}  // namespace

STDMETHODIMP ToolbarBand::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IObjectWithSite))
        *out = static_cast<IObjectWithSite*>(this);
    else if (riid == __uuidof(IOleWindow) || riid == __uuidof(IDockingWindow) || riid == __uuidof(IDeskBand))
        *out = static_cast<IDeskBand*>(this);
    else if (riid == __uuidof(IInputObject))
        *out = static_cast<IInputObject*>(this);
    else if (riid == __uuidof(IPersist) || riid == __uuidof(IPersistStream))
        *out = static_cast<IPersistStream*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ToolbarBand::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) ToolbarBand::Release() {
    const LONG count = InterlockedDecrement(&refs_);
    if (count == 0) delete this;
    return count;
}

STDMETHODIMP ToolbarBand::SetSite(IUnknown* site) {
    inputSite_.reset();
    if (!site) return S_OK;
    if (isShellHost()) return S_OK;
    return comGuard([&] { return attachSite(site); });
}

HRESULT ToolbarBand::attachSite(IUnknown* site) {
    auto oleWindow = queryAs<IOleWindow>(site);
    if (!oleWindow) return E_POINTER;
    HWND parent = nullptr;
    oleWindow->GetWindow(&parent);
    oleWindow.reset();
    if (!toolbar_.createWindow(parent)) return E_FAIL;
    auto inputSite = queryAs<IInputObjectSite>(site);
    if (!inputSite) return E_POINTER;
    inputSite_ = inputSite;
    toolbar_.setSite(inputSite_.get(), static_cast<IDeskBand*>(this));
    return S_OK;
}

STDMETHODIMP ToolbarBand::GetSite(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!inputSite_) return E_FAIL;
    return inputSite_->QueryInterface(riid, out);
}

STDMETHODIMP ToolbarBand::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = toolbar_.messageWindow();
    return S_OK;
}

STDMETHODIMP ToolbarBand::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ToolbarBand::ShowDW(BOOL show) {
    if (HWND window = toolbar_.messageWindow()) ShowWindow(window, show ? SW_SHOW : SW_HIDE);
    return S_OK;
}

STDMETHODIMP ToolbarBand::CloseDW(DWORD) {
    toolbar_.destroyWindow();
    return S_OK;
}

STDMETHODIMP ToolbarBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP ToolbarBand::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info) {
    if (!info) return E_INVALIDARG;
    if (info->dwMask & DBIM_MINSIZE) info->ptMinSize = POINTL{kMinWidth, kHeight};
    if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = POINTL{-1, kHeight};
    if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = POINTL{1, 1};
    if (info->dwMask & DBIM_ACTUAL) info->ptActual = POINTL{kMinWidth, kHeight};
    if (info->dwMask & DBIM_TITLE) info->wszTitle[0] = 0;
    if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = DBIMF_NORMAL;
    info->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);
    return S_OK;
}

STDMETHODIMP ToolbarBand::UIActivateIO(BOOL activate, MSG*) {
    // Without a window, SetFocus(NULL) would take the keyboard focus away from the browser.
    if (activate && toolbar_.messageWindow()) SetFocus(toolbar_.messageWindow());
    return S_OK;
}

STDMETHODIMP ToolbarBand::HasFocusIO() { return toolbar_.hasFocus() ? S_OK : S_FALSE; }

STDMETHODIMP ToolbarBand::TranslateAcceleratorIO(MSG*) { return S_FALSE; }

STDMETHODIMP ToolbarBand::GetClassID(CLSID* classId) {
    if (!classId) return E_POINTER;
    *classId = CLSID_ToolbarBand;
    return S_OK;
}

STDMETHODIMP ToolbarBand::IsDirty() { return S_FALSE; }
STDMETHODIMP ToolbarBand::Load(IStream*) { return S_OK; }
STDMETHODIMP ToolbarBand::Save(IStream*, BOOL) { return S_OK; }
STDMETHODIMP ToolbarBand::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }

}  // namespace quorin
