// The link menu in a browser window of the doubles: the time from the toolbar's drop-down
// notification until the popup is on screen and waits for the user (the links collected and the
// menu built included), with the default limits, against the empty link menu of a page without
// content: what any menu of this kind costs the system to show. The two pages take turns in one
// window, so that the neighbours' load falls on both alike. Prints the pairs and the target; the
// exit code is always 0.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "link/link_collection.h"
#include "settings/settings_store.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"
#include "bench_window.h"
#include "link_page.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr int kTurns = 21;
constexpr int kLargeTurns = 9;  // with 100,000 anchors
constexpr int kTargetAnchors = 10000;
constexpr double kMaxOverEmpty = 2.0;

// The link engine of this program collecting the page with the settings the window stored: what
// the menu's collection costs, apart from the menu.
Timing collectionAlone(PageBuilder& page) {
    SettingsStore store;
    store.loadAll();
    LinkCollection links(&store);
    auto site = ComPtr<SiteDouble>::adopt(new SiteDouble);
    site->setBrowser(page.browser()->unknown());
    links.setSite(site->unknown());
    links.setDocument(nullptr);
    return measure(kTurns, [] {}, [&] { links.collect(); });
}

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        RegistrySandbox sandbox;
        Library library;
        BrowserFrame frame(L"Quorin bench", true);
        const MenuWatch watch;
        // A bare skeleton has no content: the menu shows every item greyed and collects nothing.
        auto empty = std::make_unique<PageBuilder>(L"http://bench.test/dir/empty.html");
        empty->skeleton();
        BenchWindow window(library, frame, empty->document());
        if (!window.sited()) {
            std::printf("the library's helper could not be sited\n");
            return 0;
        }
        const auto open = [&](PageBuilder& page) {
            window.show(page.document());
            return dropDown(window.band(), window.toolbar(), kLinkButton);
        };
        std::printf("Link menu: drop-down notification until the popup waits for the user, default limits, in turns "
                    "with the empty link menu of a page without content (%d turns, %d with 100,000 anchors; best and "
                    "median)\n",
                    kTurns, kLargeTurns);
        double atTarget = 0;
        for (int anchors : {1000, kTargetAnchors, 100000}) {
            auto page = makeLinkPage(anchors);
            const Paired p = measurePaired(anchors >= 100000 ? kLargeTurns : kTurns, [&] { return open(*empty); },
                                           [&] { return open(*page); });
            const std::string what = std::to_string(anchors) + " anchors";
            printPaired("empty link menu", what.c_str(), p);
            if (anchors != kTargetAnchors) continue;
            atTarget = p.turnRatio;
            const Timing alone = collectionAlone(*page);
            std::printf("  %-52s %10.3f %10.3f ms\n", "  of which collecting the links (the engine alone)", alone.best,
                        alone.median);
        }
        std::printf("target: link menu at %d anchors on screen in at most %.1fx the time of the empty link menu "
                    "(in turns): %s (%.2fx)\n",
                    kTargetAnchors, kMaxOverEmpty, verdict(atTarget > 0 && atTarget <= kMaxOverEmpty), atTarget);
    }
    OleUninitialize();
    return 0;
}
