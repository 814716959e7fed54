// The style button's drop-down in a browser window of the doubles: the time from the toolbar's
// drop-down notification until the popup is on screen, for pages of many titled sheets. Prints
// one line per measurement and its target; the exit code is always 0.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <string>

#include "common/com_ptr.h"
#include "shared/class_ids.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "support/menu_driver.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr int kRepeats = 15;
constexpr int kStyleButton = 40001;
constexpr double kTargetMs = 5.0;  // at 99 titles

double shownAt = 0;

// Notes when the first popup window of the menu is shown and closes the menu at once.
LRESULT CALLBACK onWindowMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_WINDOWPOSCHANGED && shownAt == 0) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(message->lParam);
        wchar_t name[16] = {};
        GetClassNameW(message->hwnd, name, 16);
        if ((position->flags & SWP_SHOWWINDOW) && lstrcmpW(name, L"#32768") == 0) {
            shownAt = nowMs();
            EndMenu();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Window {
public:
    Window(const Library& library, BrowserFrame& frame, DocumentDouble* document)
        : browser_(ComPtr<BrowserDouble>::adopt(new BrowserDouble(document, &frame))) {
        browser_->bandFactory = [&library](REFCLSID clsid, IUnknown** out) {
            return library.create(clsid, IID_IUnknown, reinterpret_cast<void**>(out));
        };
        if (SUCCEEDED(library.create(CLSID_BrowserHelper, IID_IObjectWithSite, helper_.putVoid())))
            helper_->SetSite(browser_->unknown());
        browser_->playPageLoad();
    }
    ~Window() {
        browser_->quit();
        if (helper_) helper_->SetSite(nullptr);
        browser_->bandFactory = nullptr;
    }
    HWND toolbar(BrowserFrame& frame) const {
        HWND band = FindWindowExW(frame.rebar(), nullptr, nullptr, nullptr);
        return FindWindowExW(band, nullptr, TOOLBARCLASSNAMEW, nullptr);
    }

private:
    ComPtr<BrowserDouble> browser_;
    ComPtr<IObjectWithSite> helper_;
};

// Milliseconds from the notification until the popup shows, best and median.
Timing dropDown(HWND toolbar) {
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, onWindowMessage, nullptr, GetCurrentThreadId());
    std::vector<double> runs;
    for (int i = 0; i < kRepeats; ++i) {
        shownAt = 0;
        const double started = nowMs();
        clickDropDown(toolbar, kStyleButton);
        if (shownAt > 0) runs.push_back(shownAt - started);
    }
    UnhookWindowsHookEx(hook);
    if (runs.empty()) return {-1, -1};
    std::sort(runs.begin(), runs.end());
    return {runs.front(), runs[runs.size() / 2]};
}

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        RegistrySandbox sandbox;
        Library library;
        BrowserFrame frame(L"bench", true);
        std::printf("Style menu, drop-down notification until the popup shows (best and median of %d)\n", kRepeats);
        std::printf("%-44s %9s %9s\n", "measurement", "best", "median");
        double at99 = 0, at10 = 0, at1000 = 0;
        for (int titles : {10, 99, 1000}) {
            PageBuilder page(L"http://bench.test/index.html");
            page.skeleton().filler(20);
            for (int i = 0; i < titles; ++i) page.sheet(L"Sheet " + std::to_wstring(i), L"s.css", i != 0);
            Window window(library, frame, page.document());
            const Timing t = dropDown(window.toolbar(frame));
            std::printf("%-44s %6.3f ms %6.3f ms\n", (std::to_string(titles) + " titled sheets").c_str(), t.best,
                        t.median);
            (titles == 10 ? at10 : titles == 99 ? at99 : at1000) = t.median;
        }
        std::printf("target: style menu on screen under %.0f ms at 99 titles (median): %s (%.3f ms)\n", kTargetMs,
                    at99 > 0 && at99 < kTargetMs ? "met" : "NOT met", at99);
        // 1,000 titles list 99 of them, so the growth beyond is the page's listing alone.
        std::printf("  growth: 10 -> 99 titles x%.1f, 99 -> 1000 titles x%.1f\n", at99 / at10, at1000 / at99);
    }
    OleUninitialize();
    return 0;
}
