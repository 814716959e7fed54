#pragma once
// What the benchmarks of whole browser windows share: a browser window of the doubles with the
// library's helper sited in it (and through it the band), the thread's message pump, and the word
// a target line ends with.

#include <windows.h>
#include <commctrl.h>

#include "browser/custom_messages.h"
#include "browser/frame_windows.h"
#include "common/com_ptr.h"
#include "shared/class_ids.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "timing.h"

namespace quorin::bench {

constexpr int kStyleButton = 40001;
constexpr int kLinkButton = 50001;

inline const char* verdict(bool met) { return met ? "met" : "NOT met"; }

inline void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// While it lives, notes the moment an open menu's loop first runs out of messages (the popup is
// painted and waits for the user) and closes the menu again.
class MenuWatch {
public:
    MenuWatch() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, watch, nullptr, GetCurrentThreadId())) {}
    ~MenuWatch() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    // The time stamp (timing.h) of the menu shown since it was last set to 0; 0 when none showed.
    static double& shownAt() noexcept {
        static double at = 0;
        return at;
    }

private:
    static LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_ENTERIDLE && message->wParam == MSGF_MENU && shownAt() == 0) {
            shownAt() = nowMs();
            EndMenu();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

// Notifies the band of a button's drop-down arrow as the toolbar does. With a MenuWatch alive:
// milliseconds until the popup waited for the user, -1 when none showed.
inline double dropDown(HWND band, HWND toolbar, int button) {
    NMTOOLBARW info{};
    info.hdr.hwndFrom = toolbar;
    info.hdr.code = TBN_DROPDOWN;
    info.iItem = button;
    MenuWatch::shownAt() = 0;
    const double start = nowMs();
    SendMessageW(band, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    pump();
    return MenuWatch::shownAt() > 0 ? MenuWatch::shownAt() - start : -1;
}

// A click on a button's face, as the toolbar reports it.
inline void clickFace(HWND band, HWND toolbar, int button) {
    SendMessageW(band, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    pump();
}

// Control+key typed into the page, the way the keyboard delivers it; pumped.
inline void typeControl(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, VK_CONTROL, 1);
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    PostMessageW(window, WM_KEYUP, VK_CONTROL, 0xC0000001);
    pump();
}

class BenchWindow {
public:
    BenchWindow(const test::Library& library, test::BrowserFrame& frame, test::DocumentDouble* document)
        : frame_(frame), browser_(ComPtr<test::BrowserDouble>::adopt(new test::BrowserDouble(document, &frame))) {
        browser_->bandFactory = [&library](REFCLSID clsid, IUnknown** out) {
            return library.create(clsid, IID_IUnknown, reinterpret_cast<void**>(out));
        };
        if (SUCCEEDED(library.create(CLSID_BrowserHelper, IID_IObjectWithSite, helper_.putVoid())))
            sited_ = SUCCEEDED(helper_->SetSite(browser_->unknown()));
    }
    ~BenchWindow() {
        browser_->quit();
        if (helper_) helper_->SetSite(nullptr);
        browser_->bandFactory = nullptr;
        pump();
    }
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    bool sited() const noexcept { return sited_; }
    test::BrowserDouble& browser() { return *browser_.get(); }
    // The browser loads document in this window, as after the user went there.
    void show(test::DocumentDouble* document) {
        browser_->setDocument(document);
        browser_->playPageLoad();
        pump();
    }
    HWND band() const { return findDescendantByClass(frame_.rebar(), kMessageWindowClass); }
    HWND toolbar() const { return FindWindowExW(band(), nullptr, TOOLBARCLASSNAMEW, nullptr); }

private:
    test::BrowserFrame& frame_;
    ComPtr<test::BrowserDouble> browser_;
    ComPtr<IObjectWithSite> helper_;
    bool sited_ = false;
};

}  // namespace quorin::bench
