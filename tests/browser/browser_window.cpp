#include "browser/browser_window.h"

#include "browser/custom_messages.h"
#include "browser/frame_windows.h"
#include "shared/class_ids.h"

namespace quorin::test {

BrowserWindow::BrowserWindow(const Library& library, PageBuilder& page)
    : browser(ComPtr<BrowserDouble>::adopt(new BrowserDouble(page.document(), &frame))) {
    browser->bandFactory = [&library](REFCLSID clsid, IUnknown** out) {
        return library.create(clsid, IID_IUnknown, reinterpret_cast<void**>(out));
    };
    if (SUCCEEDED(library.create(CLSID_BrowserHelper, IID_IObjectWithSite, helper.putVoid())))
        sited = helper->SetSite(browser->unknown());
}

BrowserWindow::~BrowserWindow() {
    browser->quit();
    if (helper) helper->SetSite(nullptr);
    browser->bandFactory = nullptr;
    helper.reset();
    frameBrowsers.clear();
    browser.reset();
}

HWND BrowserWindow::messageWindow() const { return findDescendantByClass(frame.rebar(), kMessageWindowClass); }

HWND BrowserWindow::toolbar() const { return FindWindowExW(messageWindow(), nullptr, TOOLBARCLASSNAMEW, nullptr); }

HWND BrowserWindow::buttonWindow(int index) const {
    HWND window = nullptr;
    for (int i = 0; i <= index; ++i) window = FindWindowExW(toolbar(), window, L"QuorinButtonMsgClass", nullptr);
    return window;
}

void BrowserWindow::load() {
    browser->playPageLoad();
    pumpMessages();
}

void BrowserWindow::loadFrame(PageBuilder& frame) {
    frameBrowsers.push_back(ComPtr<BrowserDouble>::adopt(new BrowserDouble(frame.document(), nullptr, false)));
    BrowserDouble* view = frameBrowsers.back().get();
    const std::wstring& url = frame.doc().url();
    browser->fireBeforeNavigate2(view, url);
    browser->fireDownloadBegin();
    browser->fireNavigateComplete2(view, url);
    browser->fireDownloadComplete();
    browser->fireDocumentComplete(view, url);
}

void BrowserWindow::download(READYSTATE state) {
    browser->setReadyState(state);
    browser->fireDownloadBegin();
    browser->fireDownloadComplete();
}

std::vector<int> buttons(HWND toolbar) {
    std::vector<int> ids;
    const auto count = SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        ids.push_back(button.idCommand);
    }
    return ids;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void typeKeys(HWND window, std::initializer_list<WPARAM> keys, UINT down, UINT up) {
    for (WPARAM key : keys) PostMessageW(window, down, key, 1);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) PostMessageW(window, up, *key, 0xC0000001);
    pumpMessages();
}

std::wstring tooltip(HWND toolbar, int commandId) {
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = toolbar;
    tool.uId = static_cast<UINT_PTR>(commandId);
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

std::string sheetStates(const DocumentDouble& document) {
    std::string states;
    for (const auto& sheet : document.sheets()) states += sheet->disabled() ? 'D' : 'E';
    return states;
}

void styledPage(PageBuilder& page) {
    page.skeleton().filler(4);
    page.sheet(std::nullopt);
    page.sheet(L"Blue", L"blue.css");
    page.sheet(L"Red", L"red.css", true);
}

void BrowserWindowTest::TearDown() {
    pumpMessages();
    EXPECT_EQ(library.canUnloadNow(), S_OK) << "an object of the library outlived the scenario";
    EXPECT_EQ(DoubleBase::liveDoubles(), doublesBefore) << "a reference to a double was not given back";
}

}  // namespace quorin::test
