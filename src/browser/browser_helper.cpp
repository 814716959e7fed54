#include "browser/browser_helper.h"

#include <exdispid.h>

#include <utility>

#include "browser/custom_messages.h"
#include "browser/frame_windows.h"
#include "browser/host_process.h"
#include "common/co_task_string.h"
#include "common/guard.h"
#include "common/variant.h"
#include "shared/class_ids.h"

namespace quorin {

namespace {

// The event's first argument, the browser it is about: the last element, as DISPPARAMS holds
// arguments in reverse. Anything but an object counts as no browser.
IDispatch* firstArgument(const DISPPARAMS& params) {
    if (params.cArgs == 0 || !params.rgvarg) return nullptr;
    const VARIANT& first = params.rgvarg[params.cArgs - 1];
    return first.vt == VT_DISPATCH ? first.pdispVal : nullptr;
}

bool isTopLevel(IDispatch* object) {
    const ComPtr<IWebBrowser2> browser = queryAs<IWebBrowser2>(object);
    VARIANT_BOOL top = VARIANT_FALSE;
    if (!browser || FAILED(browser->get_TopLevelContainer(&top))) return false;
    return top != VARIANT_FALSE;
}

}  // namespace

STDMETHODIMP BrowserHelper::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IObjectWithSite))
        *out = static_cast<IObjectWithSite*>(this);
    else if (riid == __uuidof(IDispatch))
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserHelper::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) BrowserHelper::Release() {
    const LONG count = InterlockedDecrement(&refs_);
    if (count == 0) delete this;
    return count;
}

STDMETHODIMP BrowserHelper::SetSite(IUnknown* site) {
    // The old browser would otherwise keep this helper alive and send its events on.
    unsubscribe();
    container_.reset();
    browser_.reset();
    site_.reset();
    toolbarWindow_ = nullptr;
    topDocumentComplete_ = false;
    topNavigationPending_ = false;
    pendingDownloads_ = 0;
    if (!site) return S_OK;
    return comGuard([&] { return attachSite(site); });
}

HRESULT BrowserHelper::attachSite(IUnknown* site) {
    site_ = ComPtr<IUnknown>(site);
    if (FAILED(site_.queryInto(browser_))) return E_POINTER;
    if (isShellHost()) {
        showBand(false);
        return S_OK;
    }
    showBand(true);
    if (!findToolbarWindow()) return E_FAIL;
    notifyToolbar(UM_HELPER_ATTACHED, 0, 0);
    if (FAILED(browser_.queryInto(container_))) return E_POINTER;
    ComPtr<IConnectionPoint> point;
    const HRESULT found = container_->FindConnectionPoint(__uuidof(DWebBrowserEvents2), point.put());
    if (FAILED(found)) return found;
    if (!point) return E_FAIL;
    return point->Advise(static_cast<IDispatch*>(this), &adviseCookie_);
}

STDMETHODIMP BrowserHelper::GetSite(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!site_) return E_FAIL;
    return site_->QueryInterface(riid, out);
}

void BrowserHelper::showBand(bool show) {
    CoTaskString classId;
    if (FAILED(StringFromIID(CLSID_ToolbarBand, classId.put()))) return;
    Variant bandId = Variant::fromString(classId.get());
    Variant visible = Variant::fromBool(show);
    Variant noSize;
    browser_->ShowBrowserBar(bandId.get(), visible.get(), noSize.get());
}

bool BrowserHelper::findToolbarWindow() {
    toolbarWindow_ = nullptr;
    HWND frame = findBrowserFrame();
    if (!IsWindow(frame)) return false;
    toolbarWindow_ = findDescendantByClass(frame, kMessageWindowClass);
    return IsWindow(toolbarWindow_) != FALSE;
}

LRESULT BrowserHelper::notifyToolbar(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(toolbarWindow_)) return -1;
    return SendMessageW(toolbarWindow_, message, wParam, lParam);
}

STDMETHODIMP BrowserHelper::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP BrowserHelper::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP BrowserHelper::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP BrowserHelper::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) {
    if (!params) return E_INVALIDARG;
    return comGuard([&]() -> HRESULT {
        switch (id) {
        case DISPID_DOWNLOADCOMPLETE:
            onDownloadComplete();
            break;
        case DISPID_DOWNLOADBEGIN:
            ++pendingDownloads_;
            break;
        case DISPID_TITLECHANGE:
            notifyToolbar(UM_TITLE_CHANGE, 0, 0);
            break;
        case DISPID_BEFORENAVIGATE2:
        case DISPID_NAVIGATECOMPLETE2:
        case DISPID_DOCUMENTCOMPLETE:
            onNavigationEvent(id, firstArgument(*params));
            break;
        case DISPID_ONQUIT:
            return onQuit();
        default:
            break;
        }
        return S_OK;
    });
}

void BrowserHelper::onDownloadComplete() {
    --pendingDownloads_;
    if ((!topDocumentComplete_ && !topNavigationPending_) || !browser_) return;
    READYSTATE state = READYSTATE_UNINITIALIZED;
    if (FAILED(browser_->get_ReadyState(&state)) || pendingDownloads_ > 0) return;
    if (topDocumentComplete_) {
        if (state == READYSTATE_INTERACTIVE) notifyToolbar(UM_TOP_DOCUMENT_COMPLETE, 0, 0);
        return;
    }
    // A top-level navigation that brought no document of its own (a mailto: link, a download the
    // user cancelled) is over once the browser shows a document again: the one it showed before,
    // or the one a reload made.
    if (state < READYSTATE_INTERACTIVE) return;
    topNavigationPending_ = false;
    topDocumentComplete_ = true;
    notifyToolbar(UM_TOP_DOCUMENT_COMPLETE, 0, 0);
}

void BrowserHelper::onNavigationEvent(DISPID id, IDispatch* browser) {
    const bool top = isTopLevel(browser);
    const LPARAM object = reinterpret_cast<LPARAM>(browser);
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        if (!top) {
            notifyToolbar(UM_FRAME_BEFORE_NAVIGATE, 0, object);
            return;
        }
        notifyToolbar(UM_TOP_BEFORE_NAVIGATE, 0, object);
        topDocumentComplete_ = false;
        topNavigationPending_ = true;
        pendingDownloads_ = 0;
        return;
    case DISPID_NAVIGATECOMPLETE2:
        // The new document has arrived and is not complete yet.
        if (top) topDocumentComplete_ = topNavigationPending_ = false;
        notifyToolbar(top ? UM_TOP_NAVIGATE_COMPLETE : UM_FRAME_NAVIGATE_COMPLETE, 0, object);
        return;
    default:
        if (top) {
            topDocumentComplete_ = true;
            topNavigationPending_ = false;
        }
        notifyToolbar(top ? UM_TOP_DOCUMENT_COMPLETE : UM_FRAME_DOCUMENT_COMPLETE, 0, object);
        return;
    }
}

HRESULT BrowserHelper::onQuit() {
    notifyToolbar(UM_BROWSER_QUIT, 0, 0);
    return unsubscribe();
}

HRESULT BrowserHelper::unsubscribe() {
    if (!container_ || !adviseCookie_) return S_OK;
    // Once only, whatever the browser answers.
    const DWORD cookie = std::exchange(adviseCookie_, 0);
    ComPtr<IConnectionPoint> point;
    const HRESULT found = container_->FindConnectionPoint(__uuidof(DWebBrowserEvents2), point.put());
    if (FAILED(found)) return found;
    if (!point) return E_FAIL;
    return point->Unadvise(cookie);
}

}  // namespace quorin
