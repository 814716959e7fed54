#include "browser/toolbar_window.h"

#include "browser/custom_messages.h"
#include "browser/frame_windows.h"
#include "common/module.h"
#include "common/window_class.h"
#include "page/browser_access.h"
#include "page/document_walk.h"
#include "resource.h"

namespace quorin {

namespace {

constexpr DWORD kToolbarStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_TRANSPARENT | TBSTYLE_FLAT |
                                TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_ADJUSTABLE | CCS_NOPARENTALIGN;
constexpr int kImageWidth = 16;
// A document with no more elements than a bare skeleton has nothing to work on.
constexpr long kBareDocumentElements = 5;

ImageListHandle loadImages(UINT bitmap) {
    return ImageListHandle(ImageList_LoadImageW(moduleHandle(), MAKEINTRESOURCEW(bitmap), kImageWidth, 1, CLR_DEFAULT,
                                                IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

// The browser passes its objects as IDispatch; they answer for their IWebBrowser2 face.
ComPtr<IWebBrowser2> browserOf(LPARAM lParam) {
    return queryAs<IWebBrowser2>(reinterpret_cast<IDispatch*>(lParam));
}

}  // namespace

ToolbarWindow::ToolbarWindow() : style_(loadedSettings()), link_(settings_), keyboard_(style_, link_) {}

ToolbarWindow::~ToolbarWindow() {
    site_.reset();
    bandIdentity_ = nullptr;
    // The window must not reach this object once it is gone.
    if (messageWindow_) SetWindowLongPtrW(messageWindow_.get(), GWLP_USERDATA, 0);
    messageWindow_.reset();
}

SettingsStore& ToolbarWindow::loadedSettings() {
    settings_.setToolbarLocation();
    settings_.loadAll();
    return settings_;
}

bool ToolbarWindow::createWindow(HWND parent) {
    if (!parent) return false;
    parent_ = parent;
    if (messageWindow_) return true;
    if (!ensureWindowClass(kMessageWindowClass, forwardingWindowProc<ToolbarWindow>)) return false;
    RECT client{};
    GetClientRect(parent, &client);
    CreateWindowExW(WS_EX_TOOLWINDOW, kMessageWindowClass, nullptr, WS_CHILD | WS_CLIPCHILDREN, client.left,
                    client.top, client.right - client.left, client.bottom - client.top, parent, nullptr,
                    moduleHandle(), this);
    return static_cast<bool>(messageWindow_);
}

void ToolbarWindow::destroyWindow() {
    if (!IsWindow(messageWindow_.get())) return;
    ShowWindow(messageWindow_.get(), SW_HIDE);
    messageWindow_.reset();
}

void ToolbarWindow::setSite(IInputObjectSite* site, IDeskBand* bandIdentity) {
    site_ = ComPtr<IInputObjectSite>(site);
    bandIdentity_ = bandIdentity;
    style_.setSite(site);
    link_.setSite(site);
}

void ToolbarWindow::buildToolbar() {
    InitCommonControls();
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RECT client{};
    GetClientRect(messageWindow_.get(), &client);
    toolbar_ = CreateWindowExW(WS_EX_TOOLWINDOW, TOOLBARCLASSNAMEW, nullptr, kToolbarStyle, 0, 0, client.right,
                               client.bottom, messageWindow_.get(), nullptr, moduleHandle(), nullptr);
    if (!toolbar_) return;
    // The face of each button sends WM_COMMAND, its separate arrow TBN_DROPDOWN.
    SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    style_.setToolbar(toolbar_);
    link_.setToolbar(toolbar_);
    images_ = loadImages(IDB_TOOLBAR);
    hotImages_ = loadImages(IDB_TOOLBAR_HOT);
    if (!images_ || !hotImages_) return;
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    SendMessageW(toolbar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_.get()));
    addButtons();
    restoreLayout();
    ShowWindow(toolbar_, SW_SHOW);
}

void ToolbarWindow::addButtons() {
    // A button that cannot be added is simply missing.
    style_.addButton();
    link_.addButton();
}

void ToolbarWindow::resetButtons() {
    replaceButtons();
    saveLayout();
}

void ToolbarWindow::replaceButtons() {
    const LRESULT count = SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) SendMessageW(toolbar_, TB_DELETEBUTTON, 0, 0);
    addButtons();
}

bool ToolbarWindow::holdsAButton() noexcept {
    const LRESULT count = SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (SendMessageW(toolbar_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) &&
            controllerFor(static_cast<UINT_PTR>(button.idCommand)))
            return true;
    }
    return false;
}

void ToolbarWindow::saveLayout() {
    TBSAVEPARAMSW location = settings_.toolbarLocation.params();
    SendMessageW(toolbar_, TB_SAVERESTOREW, TRUE, reinterpret_cast<LPARAM>(&location));
}

void ToolbarWindow::restoreLayout() {
    TBSAVEPARAMSW location = settings_.toolbarLocation.params();
    SendMessageW(toolbar_, TB_SAVERESTOREW, FALSE, reinterpret_cast<LPARAM>(&location));
    // A damaged or hand-made layout can restore none of the buttons, and an empty band offers
    // nothing to customize it back with; what is stored stays for the user's next save.
    if (!holdsAButton()) replaceButtons();
}

void ToolbarWindow::forgetWindows() noexcept {
    messageWindow_.release();
    toolbar_ = nullptr;
    style_.setToolbar(nullptr);
    link_.setToolbar(nullptr);
    // The toolbar control, a child, is gone before its parent's last message.
    images_.reset();
    hotImages_.reset();
    hasFocus_ = false;
}

void ToolbarWindow::notifyFocus(bool focused) {
    hasFocus_ = focused;
    if (site_ && bandIdentity_) site_->OnFocusChangeIS(bandIdentity_, focused ? TRUE : FALSE);
}

LRESULT ToolbarWindow::eraseBackground(HWND hwnd, HDC dc) {
    if (!IsWindow(parent_)) return DefWindowProcW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    // The rebar paints its own background into the band, at the band's place in it.
    POINT offset{0, 0};
    MapWindowPoints(hwnd, parent_, &offset, 1);
    POINT previous{};
    OffsetWindowOrgEx(dc, offset.x, offset.y, &previous);
    const LRESULT result = SendMessageW(parent_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
    return result;
}

LRESULT ToolbarWindow::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        messageWindow_.reset(hwnd);
        break;
    case WM_CREATE:
        // A band without its toolbar stays, empty, rather than failing the browser's call.
        buildToolbar();
        return 0;
    case WM_NCDESTROY:
        forgetWindows();
        break;
    case WM_SIZE:
        if (IsWindow(toolbar_)) MoveWindow(toolbar_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        notifyFocus(true);
        break;
    case WM_KILLFOCUS:
        notifyFocus(false);
        break;
    case WM_ERASEBKGND:
        return eraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_NOTIFY:
        return lParam ? onNotify(*reinterpret_cast<NMHDR*>(lParam)) : 0;
    case WM_COMMAND:
        if (ButtonController* controller = controllerFor(LOWORD(wParam))) return controller->onCommand();
        return 0;
    default:
        if (message >= UM_TOP_BEFORE_NAVIGATE && message <= UM_DISABLE_TOOLBAR) onBrowserMessage(message, lParam);
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT ToolbarWindow::onNotify(NMHDR& header) {
    switch (header.code) {
    case TBN_INITCUSTOMIZE:
        return TBNRF_HIDEHELP;
    case TBN_QUERYINSERT:
    case TBN_QUERYDELETE:
        return TRUE;
    case TBN_GETBUTTONINFOW:
        return buttonInfo(reinterpret_cast<NMTOOLBARW&>(header));
    case TBN_DROPDOWN: {
        const auto& dropDown = reinterpret_cast<const NMTOOLBARW&>(header);
        ButtonController* controller = controllerFor(static_cast<UINT_PTR>(dropDown.iItem));
        return controller ? controller->onDropDown(dropDown) : TBDDRET_NODEFAULT;
    }
    case TBN_TOOLBARCHANGE:
        saveLayout();
        return 0;
    case TBN_RESET:
        resetButtons();
        return 0;
    case TTN_GETDISPINFOW:
        if (ButtonController* controller = controllerFor(header.idFrom))
            controller->getTooltip(reinterpret_cast<NMTTDISPINFOW&>(header));
        return 0;
    default:
        return 0;
    }
}

// The customize dialog asks for the buttons by position until one is refused.
LRESULT ToolbarWindow::buttonInfo(NMTOOLBARW& info) {
    switch (info.iItem) {
    case 0: return style_.getButtonInfo(info);
    case 1: return link_.getButtonInfo(info);
    default: return 0;
    }
}

void ToolbarWindow::onBrowserMessage(UINT message, LPARAM lParam) {
    switch (message) {
    case UM_TOP_BEFORE_NAVIGATE:
        style_.onBeforeNavigate(browserOf(lParam).get());
        break;
    case UM_TOP_NAVIGATE_COMPLETE:
        style_.onNavigateComplete();
        findBrowserWindows();
        keyboard_.install(frame_);
        break;
    case UM_TOP_DOCUMENT_COMPLETE:
        onTopDocumentComplete(lParam);
        break;
    case UM_HELPER_ATTACHED:
        style_.markStale();
        break;
    case UM_BROWSER_QUIT:
        keyboard_.remove();
        break;
    case UM_FRAME_DOCUMENT_COMPLETE:
        onFrameDocumentComplete(lParam);
        break;
    case UM_ENABLE_TOOLBAR:
    case UM_DISABLE_TOOLBAR:
        if (IsWindow(toolbar_)) EnableWindow(toolbar_, message == UM_ENABLE_TOOLBAR);
        break;
    default:
        break;
    }
}

void ToolbarWindow::onTopDocumentComplete(LPARAM lParam) {
    const ComPtr<IWebBrowser2> browser = browserOf(lParam);
    const bool content = hasContent(browser.get());
    style_.onDocumentComplete(browser.get(), content);
    link_.onDocumentComplete(browser.get(), content);
}

void ToolbarWindow::onFrameDocumentComplete(LPARAM lParam) {
    // Without its frame the event says nothing about any document.
    const ComPtr<IWebBrowser2> frame = browserOf(lParam);
    if (!frame) return;
    style_.frameCompleted(frame.get(), hasContent(frame.get()));
}

bool ToolbarWindow::findBrowserWindows() {
    if (!IsWindow(frame_)) frame_ = findBrowserFrame();
    if (!IsWindow(frame_)) return false;
    if (IsWindow(statusBar_)) return true;
    statusBar_ = findDescendantByClass(frame_, kStatusBarClass);
    if (!statusBar_) return false;
    style_.setStatusBar(statusBar_);
    link_.setStatusBar(statusBar_);
    return true;
}

bool ToolbarWindow::hasContent(IWebBrowser2* browser) const {
    ComPtr<IWebBrowser2> own;
    if (!browser) {
        own = browserFromSite(site_.get());
        browser = own.get();
    }
    const ComPtr<IHTMLDocument2> document = documentOf(browser);
    return lengthOf(elementsOf(document.get()).get()) > kBareDocumentElements;
}

ButtonController* ToolbarWindow::controllerFor(UINT_PTR commandId) noexcept {
    if (commandId == static_cast<UINT_PTR>(style_.commandId())) return &style_;
    if (commandId == static_cast<UINT_PTR>(link_.commandId())) return &link_;
    return nullptr;
}

}  // namespace quorin
