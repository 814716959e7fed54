#pragma once
// One browser window of the doubles with the library in it, as the browser builds it: siting the
// library's helper makes the browser create the band in its rebar. With helpers to pump the
// thread's messages and to type keys the way the keyboard delivers them.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"

namespace quorin::test {

class BrowserWindow {
public:
    // A browser of its own shows the page in a frame of its own; the helper is sited at once.
    BrowserWindow(const Library& library, PageBuilder& page);
    // Closes the browser window as the browser does: OnQuit, bands closed, helper unsited.
    ~BrowserWindow();
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    // The band's message window, its toolbar control, and the i-th button's hidden window.
    HWND messageWindow() const;
    HWND toolbar() const;
    HWND buttonWindow(int index) const;
    // A whole page load of the page shown, with the messages it leaves pumped.
    void load();
    // A frame of the page shown loading on its own, as an iframe a script adds: BeforeNavigate2,
    // DownloadBegin, NavigateComplete2, DownloadComplete and DocumentComplete of a frame browser
    // showing its document. Everything is sent, so it may also run inside an open menu's loop.
    void loadFrame(PageBuilder& frame);
    // One download of the page shown ending in that ready state, as after a reload (F5) or a
    // download of a script: DownloadBegin and DownloadComplete.
    void download(READYSTATE state);

    BrowserFrame frame;
    ComPtr<BrowserDouble> browser;
    ComPtr<IObjectWithSite> helper;
    HRESULT sited = E_FAIL;
    std::vector<ComPtr<BrowserDouble>> frameBrowsers;  // those of loadFrame
};

// The command ids of the toolbar's buttons, in order.
std::vector<int> buttons(HWND toolbar);
// Dispatches every message waiting for this thread.
void pumpMessages();
// Posts a key combination to window: the keys pressed in order, released in reverse; pumped.
void typeKeys(HWND window, std::initializer_list<WPARAM> keys, UINT down = WM_KEYDOWN, UINT up = WM_KEYUP);
// The tooltip text the toolbar shows for a button.
std::wstring tooltip(HWND toolbar, int commandId);
// The page's sheets, one letter each in collection order: E enabled, D disabled.
std::string sheetStates(const DocumentDouble& document);
// A page of 8 elements with a fixed sheet, an enabled "Blue" and a disabled "Red" sheet.
void styledPage(PageBuilder& page);

// Band tests of whole browser windows: a private registry, the built library, and at the end
// every double given back and the library free to unload.
class BrowserWindowTest : public testing::Test {
protected:
    void TearDown() override;

    RegistrySandbox sandbox;
    Library library;
    const LONG doublesBefore = DoubleBase::liveDoubles();
};

}  // namespace quorin::test
