#include "support/browser_double.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

namespace quorin::test {

namespace {

constexpr wchar_t kFrameClass[] = L"IEFrame";
constexpr wchar_t kDocumentClass[] = L"Internet Explorer_Server";

void registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW existing{sizeof existing};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return;
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

std::wstring stringOf(const VARIANT* value) {
    if (!value) return {};
    if (value->vt == VT_BSTR && value->bstrVal) return value->bstrVal;
    if (value->vt == (VT_BYREF | VT_VARIANT) && value->pvarVal) return stringOf(value->pvarVal);
    return {};
}

void removeRebarBand(HWND rebar, HWND child) {
    if (!IsWindow(rebar) || !child) return;
    const auto count = SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        REBARBANDINFOW info{};
        info.cbSize = REBARBANDINFOW_V6_SIZE;
        info.fMask = RBBIM_CHILD;
        if (SendMessageW(rebar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&info)) && info.hwndChild == child) {
            SendMessageW(rebar, RB_DELETEBAND, i, 0);
            return;
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// BrowserFrame

BrowserFrame::BrowserFrame(const wchar_t* title, bool visible, int width, int height) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    registerClass(kFrameClass, frameProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    registerClass(kDocumentClass, documentProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    frame_ = CreateWindowExW(0, kFrameClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width, height,
                             nullptr, nullptr, instance, this);
    rebar_ = CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                 RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                             0, 0, width, 30, frame_, nullptr, instance, nullptr);
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                 frame_, nullptr, instance, nullptr);
    document_ = CreateWindowExW(WS_EX_CLIENTEDGE, kDocumentClass, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0,
                                0, 0, frame_, nullptr, instance, this);
    layout();
    if (visible) {
        ShowWindow(frame_, SW_SHOW);
        UpdateWindow(frame_);
    }
}

BrowserFrame::~BrowserFrame() {
    if (!IsWindow(frame_)) return;
    SetWindowLongPtrW(frame_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(document_, GWLP_USERDATA, 0);
    DestroyWindow(frame_);
}

void BrowserFrame::layout() {
    if (!IsWindow(frame_)) return;
    RECT client{};
    GetClientRect(frame_, &client);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT bar{}, status{};
    GetWindowRect(rebar_, &bar);
    GetWindowRect(statusBar_, &status);
    const int top = bar.bottom - bar.top;
    const int bottom = client.bottom - (status.bottom - status.top);
    MoveWindow(rebar_, 0, 0, client.right, top, TRUE);
    MoveWindow(document_, 0, top, client.right, std::max(0, bottom - top), TRUE);
}

LRESULT CALLBACK BrowserFrame::frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<BrowserFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && (message == WM_SIZE || (message == WM_NOTIFY &&
                                        reinterpret_cast<NMHDR*>(lParam)->code == RBN_HEIGHTCHANGE)))
        self->layout();
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK BrowserFrame::documentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<BrowserFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const bool key = message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
    if (self && key) self->documentKeys.emplace_back(message, wParam);
    if (message == WM_PAINT && self && self->paintDocument) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        self->paintDocument(dc, client);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// ConnectionPointDouble

std::vector<IDispatch*> ConnectionPointDouble::sinks() const {
    std::vector<IDispatch*> all;
    for (const auto& [cookie, sink] : sinks_) all.push_back(sink.get());
    return all;
}

STDMETHODIMP ConnectionPointDouble::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

STDMETHODIMP ConnectionPointDouble::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = nullptr;
    if (!container_) return E_UNEXPECTED;
    *container = container_;
    container_->AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPointDouble::Advise(IUnknown* sink, DWORD* cookie) {
    ++advises_;
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (HRESULT hr = injected("Advise"); FAILED(hr)) return hr;
    auto dispatch = queryAs<IDispatch>(sink);
    if (!dispatch) return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_.emplace(*cookie, dispatch);
    return S_OK;
}

STDMETHODIMP ConnectionPointDouble::Unadvise(DWORD cookie) {
    ++unadvises_;
    if (HRESULT hr = injected("Unadvise"); FAILED(hr)) return hr;
    return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

// ---------------------------------------------------------------------------------------------
// BrowserDouble

BrowserDouble::BrowserDouble(DocumentDouble* document, BrowserFrame* frame, bool topLevel)
    : frame_(frame), topLevel_(topLevel), point_(ComPtr<ConnectionPointDouble>::adopt(new ConnectionPointDouble(this))) {
    setDocument(document);
}

BrowserDouble::~BrowserDouble() {
    point_->detach();
    closeBands();
}

void* BrowserDouble::baseInterface(REFIID riid) {
    if (riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp) return webBrowser();
    return nullptr;
}

void BrowserDouble::setDocument(DocumentDouble* document) {
    document_ = ComPtr<DocumentDouble>(document);
    if (document) locationUrl_ = document->url();
}

STDMETHODIMP BrowserDouble::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    if (HRESULT hr = failure("Navigate"); FAILED(hr)) return hr;
    navigations_.push_back(url ? url : L"");
    return S_OK;
}

STDMETHODIMP BrowserDouble::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    if (HRESULT hr = failure("Navigate2"); FAILED(hr)) return hr;
    navigations_.push_back(stringOf(url));
    return S_OK;
}

STDMETHODIMP BrowserDouble::Refresh() {
    if (HRESULT hr = failure("Refresh"); FAILED(hr)) return hr;
    refreshLevels_.push_back(REFRESH_NORMAL);
    return S_OK;
}

STDMETHODIMP BrowserDouble::Refresh2(VARIANT* level) {
    if (HRESULT hr = failure("Refresh2"); FAILED(hr)) return hr;
    VARIANT copy;
    VariantInit(&copy);
    const bool given = level && SUCCEEDED(VariantChangeType(&copy, level, 0, VT_I4));
    refreshLevels_.push_back(given ? copy.lVal : static_cast<LONG>(REFRESH_NORMAL));
    return S_OK;
}

STDMETHODIMP BrowserDouble::get_Document(IDispatch** p) {
    if (HRESULT hr = start(p); FAILED(hr)) return hr;
    if (HRESULT hr = failure("get_Document"); FAILED(hr)) return hr;
    if (nullFor("get_Document") || !document_) return S_OK;
    *p = document_->dispatch();
    document_->AddRef();
    return S_OK;
}

STDMETHODIMP BrowserDouble::get_TopLevelContainer(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = VARIANT_FALSE;
    if (HRESULT hr = failure("get_TopLevelContainer"); FAILED(hr)) return hr;
    *p = topLevel_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP BrowserDouble::get_LocationName(BSTR* p) {
    return stringOut("get_LocationName", document_ ? OptText(document_->title()) : OptText(), p);
}

STDMETHODIMP BrowserDouble::get_LocationURL(BSTR* p) { return stringOut("get_LocationURL", locationUrl_, p); }

STDMETHODIMP BrowserDouble::get_Busy(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = readyState_ == READYSTATE_COMPLETE ? VARIANT_FALSE : VARIANT_TRUE;
    return failure("get_Busy");
}

STDMETHODIMP BrowserDouble::get_HWND(SHANDLE_PTR* p) {
    if (!p) return E_POINTER;
    *p = 0;
    if (HRESULT hr = failure("get_HWND"); FAILED(hr)) return hr;
    if (!frame_) return E_FAIL;
    *p = reinterpret_cast<SHANDLE_PTR>(frame_->frame());
    return S_OK;
}

STDMETHODIMP BrowserDouble::get_ReadyState(READYSTATE* p) {
    if (!p) return E_POINTER;
    *p = READYSTATE_UNINITIALIZED;
    if (HRESULT hr = failure("get_ReadyState"); FAILED(hr)) return hr;
    *p = readyState_;
    return S_OK;
}

STDMETHODIMP BrowserDouble::ShowBrowserBar(VARIANT* classId, VARIANT* show, VARIANT* size) {
    const bool visible = show && show->vt == VT_BOOL && show->boolVal != VARIANT_FALSE;
    barCalls_.push_back({stringOf(classId), visible, size ? size->vt : static_cast<VARTYPE>(VT_EMPTY)});
    if (HRESULT hr = failure("ShowBrowserBar"); FAILED(hr)) return hr;
    if (!classId || classId->vt != VT_BSTR || !show || show->vt != VT_BOOL) return E_INVALIDARG;
    showBand(barCalls_.back().classId, visible);
    return S_OK;
}

void BrowserDouble::showBand(const std::wstring& classId, bool show) {
    auto it = std::find_if(bands_.begin(), bands_.end(), [&](const Band& band) { return band.classId == classId; });
    if (it != bands_.end()) {
        if (auto window = it->object.as<IDockingWindow>()) window->ShowDW(show ? TRUE : FALSE);
        return;
    }
    if (!show || !frame_) return;
    CLSID clsid{};
    if (FAILED(CLSIDFromString(classId.c_str(), &clsid))) return;
    Band band{classId};
    const HRESULT created =
        bandFactory ? bandFactory(clsid, band.object.put())
                    : CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, band.object.putVoid());
    if (FAILED(created) || !band.object) return;
    band.site = ComPtr<SiteDouble>::adopt(new SiteDouble(frame_->rebar()));
    band.site->setBrowser(unknown());
    if (auto withSite = band.object.as<IObjectWithSite>()) band.setSiteResult = withSite->SetSite(band.site->unknown());
    if (auto deskBand = band.object.as<IDeskBand>(); deskBand && SUCCEEDED(band.setSiteResult)) {
        DESKBANDINFO info{};
        info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_ACTUAL | DBIM_INTEGRAL | DBIM_TITLE | DBIM_MODEFLAGS;
        deskBand->GetBandInfo(static_cast<DWORD>(bands_.size()), DBIF_VIEWMODE_NORMAL, &info);
        deskBand->GetWindow(&band.window);
        if (IsWindow(band.window)) {
            REBARBANDINFOW rebarBand{};
            rebarBand.cbSize = REBARBANDINFOW_V6_SIZE;
            rebarBand.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE | RBBIM_ID;
            rebarBand.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
            rebarBand.hwndChild = band.window;
            rebarBand.cxMinChild = info.ptMinSize.x;
            rebarBand.cyMinChild = info.ptMinSize.y;
            rebarBand.cx = std::max<LONG>(info.ptActual.x, 200);
            rebarBand.wID = static_cast<UINT>(bands_.size() + 1);
            SendMessageW(frame_->rebar(), RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rebarBand));
            frame_->layout();
        }
        deskBand->ShowDW(TRUE);
    }
    bands_.push_back(std::move(band));
}

void BrowserDouble::closeBands() {
    std::vector<Band> closing;
    closing.swap(bands_);
    for (auto& band : closing) {
        if (frame_) removeRebarBand(frame_->rebar(), band.window);
        if (auto window = band.object.as<IDockingWindow>()) {
            window->ShowDW(FALSE);
            window->CloseDW(0);
        }
        if (auto withSite = band.object.as<IObjectWithSite>()) withSite->SetSite(nullptr);
        band.site->setBrowser(nullptr);
    }
}

STDMETHODIMP BrowserDouble::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    if (HRESULT hr = start(point); FAILED(hr)) return hr;
    if (HRESULT hr = failure("FindConnectionPoint"); FAILED(hr)) return hr;
    if (nullFor("FindConnectionPoint")) return S_OK;
    if (riid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
    *point = point_.get();
    point_->AddRef();
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Events

HRESULT BrowserDouble::fire(DISPID id, DISPPARAMS& params) {
    HRESULT result = S_OK;
    // A sink may unadvise while it handles the event; keep each alive through its call.
    std::vector<ComPtr<IDispatch>> sinks;
    for (IDispatch* sink : point_->sinks()) sinks.emplace_back(sink);
    for (const auto& sink : sinks)
        result = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    return result;
}

bool BrowserDouble::fireBeforeNavigate2(BrowserDouble* target, const std::wstring& url, LONG flags,
                                        const std::wstring& targetFrame, const std::wstring& headers) {
    Variant urlValue = Variant::fromString(url.c_str());
    Variant flagsValue = Variant::fromInt(flags);
    Variant frameValue = Variant::fromString(targetFrame.c_str());
    Variant postData;
    Variant headersValue = Variant::fromString(headers.c_str());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7];
    for (auto& arg : args) VariantInit(&arg);
    // Reverse order: args[6] is the first argument.
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = target ? static_cast<IDispatch*>(target->webBrowser()) : nullptr;
    VARIANT* byRef[] = {urlValue.get(), flagsValue.get(), frameValue.get(), postData.get(), headersValue.get()};
    for (int i = 0; i < 5; ++i) {
        args[5 - i].vt = VT_BYREF | VT_VARIANT;
        args[5 - i].pvarVal = byRef[i];
    }
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancel;
    DISPPARAMS params{args, nullptr, 7, 0};
    fire(DISPID_BEFORENAVIGATE2, params);
    return cancel != VARIANT_FALSE;
}

HRESULT BrowserDouble::fireWithTarget(DISPID id, BrowserDouble* target, const std::wstring& url) {
    Variant urlValue = Variant::fromString(url.c_str());
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = target ? static_cast<IDispatch*>(target->webBrowser()) : nullptr;
    args[0].vt = VT_BYREF | VT_VARIANT;
    args[0].pvarVal = urlValue.get();
    DISPPARAMS params{args, nullptr, 2, 0};
    return fire(id, params);
}

HRESULT BrowserDouble::fireNavigateComplete2(BrowserDouble* target, const std::wstring& url) {
    return fireWithTarget(DISPID_NAVIGATECOMPLETE2, target, url);
}

HRESULT BrowserDouble::fireDocumentComplete(BrowserDouble* target, const std::wstring& url) {
    return fireWithTarget(DISPID_DOCUMENTCOMPLETE, target, url);
}

HRESULT BrowserDouble::fireDownloadBegin() {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    return fire(DISPID_DOWNLOADBEGIN, params);
}

HRESULT BrowserDouble::fireDownloadComplete() {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    return fire(DISPID_DOWNLOADCOMPLETE, params);
}

HRESULT BrowserDouble::fireTitleChange(const std::wstring& text) {
    Variant title = Variant::fromString(text.c_str());
    VARIANT arg = title.value();
    DISPPARAMS params{&arg, nullptr, 1, 0};
    return fire(DISPID_TITLECHANGE, params);
}

HRESULT BrowserDouble::fireOnQuit() {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    return fire(DISPID_ONQUIT, params);
}

void BrowserDouble::quit() {
    fireOnQuit();
    closeBands();
    point_->disconnectAll();
}

void BrowserDouble::loadFrames(DocumentDouble* document) {
    for (const auto& window : document->frames()) {
        DocumentDouble* frameDocument = window->document();
        if (!frameDocument) continue;
        auto browser = ComPtr<BrowserDouble>::adopt(new BrowserDouble(frameDocument, frame_, false));
        frameBrowsers_.push_back(browser);
        if (fireBeforeNavigate2(browser.get(), frameDocument->url(), 0, window->name())) continue;
        fireDownloadBegin();
        fireNavigateComplete2(browser.get(), frameDocument->url());
        loadFrames(frameDocument);
        fireDownloadComplete();
        fireDocumentComplete(browser.get(), frameDocument->url());
    }
}

bool BrowserDouble::playPageLoad() {
    frameBrowsers_.clear();
    const std::wstring url = document_ ? document_->url() : locationUrl_;
    readyState_ = READYSTATE_LOADING;
    if (fireBeforeNavigate2(this, url)) {
        readyState_ = READYSTATE_COMPLETE;
        return false;
    }
    fireDownloadBegin();
    locationUrl_ = url;
    fireNavigateComplete2(this, url);
    readyState_ = READYSTATE_INTERACTIVE;
    if (document_) loadFrames(document_.get());
    fireTitleChange(document_ && !document_->title().empty() ? document_->title() : url);
    fireDownloadComplete();
    readyState_ = READYSTATE_COMPLETE;
    fireDocumentComplete(this, url);
    return true;
}

}  // namespace quorin::test
