// The style button's drop-down in a browser window of the doubles: the time from the toolbar's
// drop-down notification until the popup is on screen and waits for the user, for pages of many
// titled sheets. Prints one line per measurement and its target; the exit code is always 0.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/browser_double.h"
#include "support/library.h"
#include "support/menu_driver.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"

#include "bench_window.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr int kRepeats = 15;
constexpr int kStyleButton = 40001;
constexpr double kTargetMs = 5.0;  // at 99 titles

// Milliseconds from the notification until the popup shows, best and median.
Timing dropDown(HWND toolbar) {
    const MenuWatch watch;
    std::vector<double> runs;
    for (int i = 0; i < kRepeats; ++i) {
        MenuWatch::shownAt() = 0;
        const double started = nowMs();
        clickDropDown(toolbar, kStyleButton);
        if (MenuWatch::shownAt() > 0) runs.push_back(MenuWatch::shownAt() - started);
    }
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
        double floor = 0, at99 = 0, at10 = 0, at1000 = 0;
        // The page without sheets is the floor: what showing a menu costs here whatever the page.
        for (int titles : {0, 10, 99, 1000}) {
            PageBuilder page(L"http://bench.test/index.html");
            page.skeleton().filler(20);
            for (int i = 0; i < titles; ++i) page.sheet(L"Sheet " + std::to_wstring(i), L"s.css", i != 0);
            BenchWindow window(library, frame, page.document());
            window.browser().playPageLoad();
            const Timing t = dropDown(window.toolbar());
            std::printf("%-44s %6.3f ms %6.3f ms\n", (std::to_string(titles) + " titled sheets").c_str(), t.best,
                        t.median);
            (titles == 0 ? floor : titles == 10 ? at10 : titles == 99 ? at99 : at1000) = t.median;
        }
        std::printf("target: style menu on screen under %.0f ms at 99 titles (median): %s (%.3f ms)\n", kTargetMs,
                    verdict(at99 > 0 && at99 < kTargetMs), at99);
        std::printf("  at 99 titles above the floor of a page without sheets: %.3f ms\n", at99 - floor);
        // 1,000 titles list 99 of them, so the growth beyond is the page's listing alone.
        std::printf("  growth: 10 -> 99 titles x%.1f, 99 -> 1000 titles x%.1f\n", at99 / at10, at1000 / at99);
    }
    OleUninitialize();
    return 0;
}
