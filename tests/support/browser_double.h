#pragma once
// The browser as test doubles: its frame window and the IWebBrowser2 object with its
// DWebBrowserEvents2 connection point, as real COM objects of the toolchain's exdisp.h.
//
// BrowserFrame: a top-level window of class "IEFrame" holding a rebar ("ReBarWindow32"), a status
// bar ("msctls_statusbar32") and a document window ("Internet Explorer_Server"), all created on the
// calling thread (the library finds them through EnumThreadWindows / EnumChildWindows).
//
// BrowserDouble (IWebBrowser2, IWebBrowserApp, IWebBrowser, IDispatch, IConnectionPointContainer):
//   get_Document (the DocumentDouble set with setDocument), get_LocationURL / get_LocationName,
//   get_TopLevelContainer (false for frame browsers), get_ReadyState, get_HWND, Refresh / Refresh2
//   (recorded), Navigate / Navigate2 (recorded), ShowBrowserBar (recorded; showing a band creates it
//   as the browser does: see showBand below), FindConnectionPoint(DIID_DWebBrowserEvents2).
//   Failure injection as in dom_double.h: failMethod("get_Document", E_FAIL), nullMethod(...),
//   refuseInterface(IID_IConnectionPointContainer); on the connection point: connectionPoint().
//
// Events are fired to every advised sink with the browser's exact DISPPARAMS layout: arguments in
// reverse order (the browser object is rgvarg[cArgs - 1], a VT_DISPATCH holding the IWebBrowser2
// pointer of the top browser or of a frame browser), by-reference arguments as VT_BYREF | VT_VARIANT.
//
// Putting it into a band site: site->setBrowser(browser->unknown()) (SiteDouble), so that site →
// IOleCommandTarget → IServiceProvider → QueryService(SID_SWebBrowserApp, IID_IWebBrowser2) reaches it.
//
// Lifetime: the browser holds its document, frame browsers, the connection point (which holds the
// sinks) and the bands it created with their sites (which hold the browser). Call quit() or
// closeBands() before letting go of a browser that created bands; it breaks that cycle the way the
// browser does when its window closes.

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "support/dom_double.h"
#include "support/site_double.h"

namespace quorin::test {

class BrowserFrame {
public:
    // Creates the windows; visible for the demo host, hidden for tests.
    explicit BrowserFrame(const wchar_t* title = L"Quorin test browser", bool visible = false, int width = 800,
                          int height = 600);
    ~BrowserFrame();
    BrowserFrame(const BrowserFrame&) = delete;
    BrowserFrame& operator=(const BrowserFrame&) = delete;

    HWND frame() const noexcept { return frame_; }
    HWND rebar() const noexcept { return rebar_; }
    HWND statusBar() const noexcept { return statusBar_; }
    HWND documentWindow() const noexcept { return document_; }
    // Places rebar, document window and status bar in the frame's client area.
    void layout();
    // Paints the document window's content (the demo host draws the page there).
    std::function<void(HDC, const RECT&)> paintDocument;
    // Key messages the document window received, in order: message and wParam.
    std::vector<std::pair<UINT, WPARAM>> documentKeys;

    static LRESULT CALLBACK frameProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK documentProc(HWND, UINT, WPARAM, LPARAM);

private:
    HWND frame_ = nullptr, rebar_ = nullptr, statusBar_ = nullptr, document_ = nullptr;
};

class BrowserDouble;

// The DWebBrowserEvents2 connection point. Sinks are asked for IDispatch and held until Unadvise.
class ConnectionPointDouble final : public ComDouble<IConnectionPointStub> {
public:
    explicit ConnectionPointDouble(BrowserDouble* container) : container_(container) {}

    int adviseCount() const noexcept { return advises_; }
    int unadviseCount() const noexcept { return unadvises_; }
    size_t sinkCount() const noexcept { return sinks_.size(); }
    std::vector<IDispatch*> sinks() const;
    void disconnectAll() { sinks_.clear(); }
    void detach() noexcept { container_ = nullptr; }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;

private:
    ~ConnectionPointDouble() override = default;
    BrowserDouble* container_;  // not counted: the browser owns this object
    std::map<DWORD, ComPtr<IDispatch>> sinks_;
    DWORD nextCookie_ = 1;
    int advises_ = 0, unadvises_ = 0;
};

class BrowserDouble final : public DispatchDouble<IWebBrowser2Stub, IConnectionPointContainerStub> {
public:
    // A top-level browser (get_TopLevelContainer TRUE) showing document (a reference is taken);
    // frame, when given, answers get_HWND and is where bands go.
    explicit BrowserDouble(DocumentDouble* document = nullptr, BrowserFrame* frame = nullptr, bool topLevel = true);

    // The IWebBrowser2 pointer the browser passes in its events (as IDispatch).
    IWebBrowser2* webBrowser() noexcept { return this; }

    // State.
    void setDocument(DocumentDouble* document);  // the location URL follows the document's URL
    DocumentDouble* document() const noexcept { return document_.get(); }
    void setLocationUrl(std::wstring url) { locationUrl_ = std::move(url); }
    const std::wstring& locationUrl() const noexcept { return locationUrl_; }
    void setReadyState(READYSTATE state) noexcept { readyState_ = state; }
    READYSTATE readyState() const noexcept { return readyState_; }
    bool topLevel() const noexcept { return topLevel_; }
    BrowserFrame* frame() const noexcept { return frame_; }

    // Records.
    const std::vector<LONG>& refreshLevels() const noexcept { return refreshLevels_; }  // Refresh gives 0
    const std::vector<std::wstring>& navigations() const noexcept { return navigations_; }
    struct BarCall {
        std::wstring classId;  // the VT_BSTR argument ("" when it was not a string)
        bool show;             // the VT_BOOL argument
        VARTYPE sizeType;      // type of the size argument (VT_EMPTY when absent)
    };
    const std::vector<BarCall>& barCalls() const noexcept { return barCalls_; }
    ConnectionPointDouble* connectionPoint() const noexcept { return point_.get(); }

    // Bands. ShowBrowserBar with show TRUE for a class id not yet shown creates the band through
    // bandFactory if set, else CoCreateInstance(CLSCTX_INPROC_SERVER); gives it a band SiteDouble
    // whose window is the frame's rebar (and whose browser is this object) through
    // IObjectWithSite::SetSite; inserts IDeskBand::GetWindow into the rebar using GetBandInfo and
    // calls ShowDW(TRUE). Showing it again calls ShowDW(TRUE); show FALSE calls ShowDW(FALSE).
    std::function<HRESULT(REFCLSID, IUnknown**)> bandFactory;
    struct Band {
        std::wstring classId;
        ComPtr<IUnknown> object;
        ComPtr<SiteDouble> site;
        HRESULT setSiteResult = E_FAIL;
        HWND window = nullptr;
    };
    const std::vector<Band>& bands() const noexcept { return bands_; }
    // ShowDW(FALSE), CloseDW(0), SetSite(null) and release of every band, as the browser closes.
    void closeBands();

    // Events, to every advised sink; each returns the last sink's Invoke result (S_OK with none).
    // target is the browser the event is about (this or a frame browser; null is passed as null).
    HRESULT fire(DISPID id, DISPPARAMS& params);
    // Returns the Cancel flag a sink set (VARIANT_TRUE) as true.
    bool fireBeforeNavigate2(BrowserDouble* target, const std::wstring& url, LONG flags = 0,
                             const std::wstring& targetFrame = L"", const std::wstring& headers = L"");
    HRESULT fireNavigateComplete2(BrowserDouble* target, const std::wstring& url);
    HRESULT fireDocumentComplete(BrowserDouble* target, const std::wstring& url);
    HRESULT fireDownloadBegin();
    HRESULT fireDownloadComplete();
    HRESULT fireTitleChange(const std::wstring& text);
    HRESULT fireOnQuit();
    // Fires OnQuit, closes the bands and drops all sinks, as a closing browser window.
    void quit();

    // A whole page load of the current document, as the browser reports it: BeforeNavigate2,
    // DownloadBegin, NavigateComplete2 of this browser (ready state loading, then interactive);
    // then for each frame of the document, depth first, a frame browser (frameBrowsers()) with
    // BeforeNavigate2, DownloadBegin, NavigateComplete2, DownloadComplete, DocumentComplete; then
    // TitleChange with the document's title, DownloadComplete, ready state complete, and
    // DocumentComplete of this browser. Returns false if a sink cancelled the navigation (the load
    // then stops after BeforeNavigate2).
    bool playPageLoad();
    // Frame browsers made by the last playPageLoad, in the order their frames were loaded.
    const std::vector<ComPtr<BrowserDouble>>& frameBrowsers() const noexcept { return frameBrowsers_; }

    // IWebBrowser
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData, VARIANT* headers) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP Refresh2(VARIANT* level) override;
    STDMETHODIMP get_Document(IDispatch** p) override;
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* p) override;
    STDMETHODIMP get_LocationName(BSTR* p) override;
    STDMETHODIMP get_LocationURL(BSTR* p) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* p) override;
    // IWebBrowserApp
    STDMETHODIMP get_HWND(SHANDLE_PTR* p) override;
    // IWebBrowser2
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                           VARIANT* headers) override;
    STDMETHODIMP ShowBrowserBar(VARIANT* classId, VARIANT* show, VARIANT* size) override;
    STDMETHODIMP get_ReadyState(READYSTATE* p) override;
    // IConnectionPointContainer
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

protected:
    void* baseInterface(REFIID riid) override;

private:
    ~BrowserDouble() override;
    void showBand(const std::wstring& classId, bool show);
    HRESULT fireWithTarget(DISPID id, BrowserDouble* target, const std::wstring& url);
    void loadFrames(DocumentDouble* document);

    ComPtr<DocumentDouble> document_;
    BrowserFrame* frame_;
    bool topLevel_;
    std::wstring locationUrl_;
    READYSTATE readyState_ = READYSTATE_COMPLETE;
    ComPtr<ConnectionPointDouble> point_;
    std::vector<LONG> refreshLevels_;
    std::vector<std::wstring> navigations_;
    std::vector<BarCall> barCalls_;
    std::vector<Band> bands_;
    std::vector<ComPtr<BrowserDouble>> frameBrowsers_;
};

}  // namespace quorin::test
