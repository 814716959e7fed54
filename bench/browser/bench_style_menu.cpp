// The style button's drop-down in a browser window of the doubles: the time from the toolbar's
// drop-down notification until the popup is on screen and waits for the user, for pages of many
// titled sheets, against the empty style menu of a page without sheets: what any menu of this
// kind costs the system to show. The two pages take turns in one window, so that the
// neighbours' load falls on both alike. For comparison, the same menu of 99 titles made and shown
// with bare calls: what showing that many items costs the system. Prints the pairs and the target;
// the exit code is always 0.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/browser_double.h"
#include "support/library.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"

#include "bench_window.h"
#include "common/unique_handle.h"
#include "resource.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr int kTurns = 31;
constexpr int kTargetTitles = 99;
constexpr double kMaxOverEmpty = 1.5;

std::unique_ptr<PageBuilder> titledPage(int titles) {
    auto page = std::make_unique<PageBuilder>(L"http://bench.test/index.html");
    page->skeleton().filler(20);
    for (int i = 0; i < titles; ++i) page->sheet(L"Sheet " + std::to_wstring(i), L"s.css", i != 0);
    return page;
}

// The style menu of a page of titles, made from the library's menu resource with bare calls and
// shown as the library shows it; milliseconds until it waits for the user (a MenuWatch alive).
double bareMenu(HMODULE library, HWND owner, HWND toolbar, int titles) {
    MenuWatch::shownAt() = 0;
    const double start = nowMs();
    MenuHandle menus(LoadMenuW(library, MAKEINTRESOURCEW(IDR_MENUS)));
    HMENU popup = GetSubMenu(menus.get(), 0);
    for (int i = 0; i < titles; ++i) {
        const std::wstring caption = L"Sheet " + std::to_wstring(i);
        MENUITEMINFOW item{sizeof item};
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        item.fType = MFT_STRING | MFT_RADIOCHECK;
        item.fState = i == 0 ? MFS_CHECKED : 0;
        item.wID = 40101 + i;
        item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
        InsertMenuItemW(popup, IDM_STYLE_SETTINGS, FALSE, &item);
    }
    MENUITEMINFOW separator{sizeof separator};
    separator.fMask = MIIM_FTYPE;
    separator.fType = MFT_SEPARATOR;
    InsertMenuItemW(popup, IDM_STYLE_SETTINGS, FALSE, &separator);
    RECT button{};
    SendMessageW(toolbar, TB_GETRECT, kStyleButton, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS exclude{sizeof exclude, button};
    TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_VERTICAL | TPM_RIGHTBUTTON, button.left, button.bottom, owner, &exclude);
    pump();
    return MenuWatch::shownAt() > 0 ? MenuWatch::shownAt() - start : -1;
}

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        RegistrySandbox sandbox;
        Library library;
        BrowserFrame frame(L"bench", true);
        const MenuWatch watch;
        auto empty = titledPage(0);
        BenchWindow window(library, frame, empty->document());
        const auto open = [&](PageBuilder& page) {
            window.show(page.document());
            return dropDown(window.band(), window.toolbar(), kStyleButton);
        };
        std::printf("Style menu: drop-down notification until the popup waits for the user, in turns with the empty "
                    "style menu of a page without sheets (%d turns; best and median)\n",
                    kTurns);
        double atTarget = 0;
        for (int titles : {10, kTargetTitles, 1000}) {
            auto page = titledPage(titles);
            const Paired p = measurePaired(kTurns, [&] { return open(*empty); }, [&] { return open(*page); });
            const std::string what = std::to_string(titles) + " titled sheets";
            printPaired("empty style menu (no sheets)", what.c_str(), p);
            if (titles == kTargetTitles) atTarget = p.turnRatio;
        }
        std::printf("(1000 titled sheets list the first %d)\n", kTargetTitles);
        auto page = titledPage(kTargetTitles);
        const Paired bare = measurePaired(
            kTurns, [&] { return open(*page); },
            [&] { return bareMenu(library.handle(), frame.frame(), window.toolbar(), kTargetTitles); });
        printPaired("the library's style menu, 99 titles", "the same made and shown with bare calls", bare);
        std::printf("target: style menu at %d titles on screen in at most %.1fx the time of the empty style menu "
                    "(in turns): %s (%.2fx)\n",
                    kTargetTitles, kMaxOverEmpty, verdict(atTarget > 0 && atTarget <= kMaxOverEmpty), atTarget);
    }
    OleUninitialize();
    return 0;
}
