// Calls into the page per element for every operation of the two engines, counted by the page
// doubles. In the browser each of these calls crosses into the HTML engine and costs far more
// than the library's own work, and a count is exact: the same on every run however busy the
// machine. Each operation runs on two pages that differ only in the number of elements it works
// on; the difference per element is its figure. Prints one table and the targets; the exit code
// is always 0.

#include <windows.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/module.h"
#include "link/link_collection.h"
#include "settings/settings_store.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"
#include "bench_window.h"
#include "page_calls.h"
#include "sheet_page.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

// Each operation may make at most this many times the fewest calls its work needs.
constexpr double kMaxOverFewest = 1.5;
constexpr wchar_t kPageAddress[] = L"http://bench.test/dir/index.html";

struct Figure {
    std::string operation;
    const char* unit;
    double fewest;
    CallGrowth growth;
};

std::vector<Figure> g_figures;

void addFigure(std::string operation, const char* unit, double fewest, const CallGrowth& growth) {
    g_figures.push_back({std::move(operation), unit, fewest, growth});
}

// ---------------------------------------------------------------------------------------------
// Pages

// A head with a next link, then plain anchors, each to a page of its own.
std::unique_ptr<PageBuilder> anchorPage(int anchors) {
    auto page = std::make_unique<PageBuilder>(kPageAddress, L"Bench");
    page->skeleton();
    page->link(L"next", L"next.html", L"Next");
    for (int i = 0; i < anchors; ++i) page->anchor(L"page" + std::to_wstring(i) + L".html", L"Section " + std::to_wstring(i));
    return page;
}

// Quotations that cite their sources: addresses that are not links.
std::unique_ptr<PageBuilder> citationPage(int quotations) {
    auto page = std::make_unique<PageBuilder>(kPageAddress, L"Bench");
    page->skeleton();
    for (int i = 0; i < quotations; ++i) page->attributed(L"blockquote", L"cite", L"source" + std::to_wstring(i) + L".html");
    return page;
}

std::unique_ptr<PageBuilder> sheetPage(int sheets, int elements = 20) {
    auto page = std::make_unique<PageBuilder>(kPageAddress, L"Bench");
    page->skeleton().filler(elements);
    addSheets(*page, sheets);
    return page;
}

// Paragraphs, with a style attribute or without.
std::unique_ptr<PageBuilder> paragraphPage(int paragraphs, bool styled) {
    auto page = std::make_unique<PageBuilder>(kPageAddress, L"Bench");
    page->skeleton().filler(2);
    for (int i = 0; i < paragraphs; ++i) {
        ElementDouble& p = page->element(L"p");
        if (styled) p.css(L"margin: " + std::to_wstring(i % 7) + L"px");
    }
    return page;
}

// ---------------------------------------------------------------------------------------------
// The link engine on its own

using CollectionSetup = std::function<void(LinkEtcSettings&)>;

CallTally countCollection(PageBuilder& page, const CollectionSetup& setup, bool cruise = false) {
    SettingsStore store;
    store.loadAll();
    const LinkEtcSettings stored = store.LinkEtc;
    setup(store.LinkEtc);
    LinkCollection links(&store);
    // The collection took its copy; the store must not save the bench's limits for the windows.
    store.LinkEtc = stored;
    auto site = ComPtr<SiteDouble>::adopt(new SiteDouble);
    site->setBrowser(page.browser()->unknown());
    links.setSite(site->unknown());
    links.setDocument(nullptr);
    return countCalls([&] {
        if (cruise)
            links.cruise();
        else
            links.collect();
    });
}

using PageMaker = std::function<std::unique_ptr<PageBuilder>(int)>;

// The figure of counting on pages of small and of ten times as many units.
CallGrowth overSizes(int small, const PageMaker& make, const std::function<CallTally(PageBuilder&)>& count) {
    auto smaller = make(small);
    const CallTally few = count(*smaller);
    smaller.reset();
    auto larger = make(10 * small);
    const CallTally many = count(*larger);
    return callGrowth(few, small, many, 10 * small);
}

void linkEngine() {
    const auto full = [](LinkEtcSettings&) {};
    const auto lifted = [](LinkEtcSettings& etc) { etc.MaxEtcNum = etc.MaxUnRelNum = etc.MaxNonLinkNum = INT_MAX; };
    const auto nonLinks = [&](LinkEtcSettings& etc) {
        lifted(etc);
        etc.EnumNonLink = true;
    };
    // Beyond the first thousand anchors the general list (999 by default) is full. An anchor then
    // needs its fetch (item), its kind (the link interface, which it refuses, then the anchor
    // interface) and rel and rev, which could still give it a link type: 5.
    const PageMaker beyondLimit = [](int n) { return anchorPage(1000 + n); };
    addFigure("link collection, lists full", "anchor", 5,
              overSizes(1000, beyondLimit, [&](PageBuilder& p) { return countCollection(p, full); }));
    // Listed: the same 5, then href, and the text through the element interface (its query and
    // innerText): 8.
    addFigure("link collection, every anchor listed", "anchor", 8,
              overSizes(100, anchorPage, [&](PageBuilder& p) { return countCollection(p, lifted); }));
    // A quotation: its fetch, the element interface, the cite attribute and the title: 4.
    addFigure("link collection, non-links", "quotation", 4,
              overSizes(100, citationPage, [&](PageBuilder& p) { return countCollection(p, nonLinks); }));
    // The cruise collects the page first, as every cruise must; the anchors cost what they cost there.
    addFigure("manual cruise, lists full", "anchor", 5,
              overSizes(1000, beyondLimit, [&](PageBuilder& p) { return countCollection(p, full, true); }));
}

// ---------------------------------------------------------------------------------------------
// The library in a browser window

// A menu opened twice on the unchanged page: the calls of the second opening, and how many of
// them the first opening had made.
struct MenuRepeat {
    long repeated = -1;
    long second = -1;
};

MenuRepeat g_styleRepeat;  // after the helper attached over the page
MenuRepeat g_linkRepeat;   // on a page of a thousand anchors

struct WindowRun {
    const Library& library;
    BrowserFrame& frame;
};

using WindowAction = std::function<void(BenchWindow&)>;

// A window on the page, loaded; prepare runs uncounted, then action counted.
CallTally countInWindow(const WindowRun& run, PageBuilder& page, const WindowAction& action,
                        const WindowAction& prepare = [](BenchWindow&) {}) {
    BenchWindow window(run.library, run.frame, page.document());
    window.browser().playPageLoad();
    pump();
    prepare(window);
    return countCalls([&] { action(window); });
}

void linkMenu(const WindowRun& run) {
    const MenuWatch watch;
    const auto open = [](BenchWindow& w) { dropDown(w.band(), w.toolbar(), kLinkButton); };
    const PageMaker beyondLimit = [](int n) { return anchorPage(1000 + n); };
    // The menu collects the page as the collection does.
    addFigure("link menu, lists full", "anchor", 5,
              overSizes(1000, beyondLimit, [&](PageBuilder& p) { return countInWindow(run, p, open); }));
    auto page = anchorPage(1000);
    BenchWindow window(run.library, run.frame, page->document());
    window.browser().playPageLoad();
    const CallTally first = countCalls([&] { open(window); });
    const CallTally second = countCalls([&] { open(window); });
    g_linkRepeat = {repeatedCalls(first, second), second.total};
    addFigure("manual cruise by the button, lists full", "anchor", 5,
              overSizes(1000, beyondLimit, [&](PageBuilder& p) {
                  return countInWindow(run, p, [](BenchWindow& w) { clickFace(w.band(), w.toolbar(), kLinkButton); });
              }));
}


void styleMenu(const WindowRun& run) {
    const MenuWatch watch;
    const auto open = [](BenchWindow& w) { dropDown(w.band(), w.toolbar(), kStyleButton); };
    // The list was read when the page completed; the menu shows it without reading again.
    addFigure("style menu after the page loaded", "sheet", 0,
              overSizes(100, [](int n) { return sheetPage(n); }, [&](PageBuilder& p) { return countInWindow(run, p, open); }));
    // After the helper attached over a page already shown, the list is read once: a sheet's fetch,
    // its query, then disabled, title and href: 5.
    addFigure("style menu after the helper attached", "sheet", 5,
              overSizes(100, [](int n) { return sheetPage(n); }, [&](PageBuilder& p) {
                  return countInWindow(run, p, open, [](BenchWindow& w) { SendMessageW(w.band(), UM_HELPER_ATTACHED, 0, 0); });
              }));
    auto page = sheetPage(100);
    BenchWindow window(run.library, run.frame, page->document());
    window.browser().playPageLoad();
    SendMessageW(window.band(), UM_HELPER_ATTACHED, 0, 0);
    const CallTally first = countCalls([&] { open(window); });
    const CallTally second = countCalls([&] { open(window); });
    g_styleRepeat = {repeatedCalls(first, second), second.total};
}

void styleSwitching(const WindowRun& run) {
    const auto sheets = [](int n) { return sheetPage(n); };
    const auto face = [](BenchWindow& w) { clickFace(w.band(), w.toolbar(), kStyleButton); };
    // Off: each sheet's fetch, query and disabled written: 3.
    addFigure("stylesheets off by the button", "sheet", 3,
              overSizes(100, sheets, [&](PageBuilder& p) { return countInWindow(run, p, face); }));
    // On: the title as well, which decides whether the sheet is enabled: 4.
    addFigure("stylesheets on by the button", "sheet", 4,
              overSizes(100, sheets, [&](PageBuilder& p) { return countInWindow(run, p, face, face); }));
    const auto key = [](BenchWindow& w) { typeControl(w.browser().frame()->documentWindow(), 'Q'); };
    const auto styled = [](int n) { return paragraphPage(n, true); };
    const auto plain = [](int n) { return paragraphPage(n, false); };
    // Off: fetch, element interface, style, cssText, the attribute that keeps it, cssText cleared: 6.
    addFigure("style attributes off, styled element", "element", 6,
              overSizes(100, styled, [&](PageBuilder& p) { return countInWindow(run, p, key); }));
    // On: fetch, element interface, the kept attribute, style, cssText written back: 5.
    addFigure("style attributes on, styled element", "element", 5,
              overSizes(100, styled, [&](PageBuilder& p) { return countInWindow(run, p, key, key); }));
    // Off: fetch, element interface, style and its empty cssText: 4.
    addFigure("style attributes off, plain element", "element", 4,
              overSizes(100, plain, [&](PageBuilder& p) { return countInWindow(run, p, key); }));
    // On: fetch, element interface and the attribute that is not there: 3.
    addFigure("style attributes on, plain element", "element", 3,
              overSizes(100, plain, [&](PageBuilder& p) { return countInWindow(run, p, key, key); }));
}

// Settings of added sheets and one preferred title for every page of the bench's site.
void writeAddedSheets(int added) {
    SettingsStore store;
    store.loadAll();
    store.AddSheet.clear();
    for (int i = 0; i < added; ++i)
        store.AddSheet.push_back({(L"Added " + std::to_wstring(i)).c_str(), (L"C:\\styles\\a" + std::to_wstring(i) + L".css").c_str()});
    store.Prefer = {{L"Title 1", L"http://bench.test/"}};
    store.saveAll();
}

CallTally countNavigation(const WindowRun& run, PageBuilder& page) {
    BenchWindow window(run.library, run.frame, page.document());
    return countCalls([&] {
        window.browser().playPageLoad();
        pump();
    });
}

void navigation(const WindowRun& run) {
    // A sheet of the page: fetch, query, title (to select the preferred one), disabled written,
    // and href for the list, whose disabled flag is the one just written: 5.
    writeAddedSheets(10);
    addFigure("navigation, added sheets and preferred title", "page sheet", 5,
              overSizes(100, [](int n) { return sheetPage(n); }, [&](PageBuilder& p) { return countNavigation(run, p); }));
    // An added sheet: made (createStyleSheet, addImport, title, disabled: 4), then met in the
    // page's sheets like any other (fetch, query, title, href: 4): 8.
    const CallTally few = [&] {
        writeAddedSheets(10);
        auto page = sheetPage(10);
        return countNavigation(run, *page);
    }();
    const CallTally many = [&] {
        writeAddedSheets(100);
        auto page = sheetPage(10);
        return countNavigation(run, *page);
    }();
    addFigure("navigation, added sheets and preferred title", "added sheet", 8, callGrowth(few, 10, many, 100));
    deleteRootKey();
}

// A frameset whose top document completed first; then one frame completes.
CallTally countFrameCompletion(const WindowRun& run, int frames, int sheetsOfFirst) {
    PageBuilder page(kPageAddress, L"Frames");
    page.skeleton().filler(2);
    std::vector<PageBuilder*> documents;
    for (int f = 0; f < frames; ++f) {
        PageBuilder& frame = page.frame(L"http://bench.test/dir/f" + std::to_wstring(f) + L".html");
        frame.skeleton().filler(2);
        addSheets(frame, f == 0 ? sheetsOfFirst : 0);
        documents.push_back(&frame);
    }
    BenchWindow window(run.library, run.frame, page.document());
    BrowserDouble& top = window.browser();
    top.fireBeforeNavigate2(&top, kPageAddress);
    top.fireNavigateComplete2(&top, kPageAddress);
    top.fireDocumentComplete(&top, kPageAddress);
    auto frameBrowser = ComPtr<BrowserDouble>::adopt(new BrowserDouble(documents.front()->document(), nullptr, false));
    return countCalls([&] {
        top.fireDocumentComplete(frameBrowser.get(), documents.front()->doc().url());
        pump();
    });
}

void frameCompletion(const WindowRun& run) {
    writeAddedSheets(2);
    // Its own sheets are selected and listed as the top document's are at a navigation: 5.
    addFigure("frame completion, added sheets and preferred title", "frame sheet", 5,
              callGrowth(countFrameCompletion(run, 2, 100), 100, countFrameCompletion(run, 2, 1000), 1000));
    // Every other frame's document (here without sheets) is reached (item, window interface,
    // document) and its sheets collection read (styleSheets, length) to rebuild the list: 5.
    addFigure("frame completion, added sheets and preferred title", "other frame", 5,
              callGrowth(countFrameCompletion(run, 10, 4), 10, countFrameCompletion(run, 100, 4), 100));
    deleteRootKey();
}

// ---------------------------------------------------------------------------------------------

void print() {
    std::printf("Calls into the page per element, counted by the page doubles (exact: the same on every run)\n");
    std::printf("%-52s %-12s %7s %7s %6s %7s\n", "operation", "per", "calls", "fewest", "ratio", "fixed");
    for (const Figure& f : g_figures) {
        char ratio[16] = "-";
        if (f.fewest > 0) std::snprintf(ratio, sizeof ratio, "%.2f", f.growth.perUnit / f.fewest);
        std::printf("%-52s %-12s %7.2f %7.0f %6s %7.0f\n", f.operation.c_str(), f.unit, f.growth.perUnit, f.fewest,
                    ratio, f.growth.fixed);
    }
    std::printf("\nper element, by method:\n");
    for (const Figure& f : g_figures)
        std::printf("  %s, per %s: %s\n", f.operation.c_str(), f.unit, f.growth.byMethod.empty() ? "none" : f.growth.byMethod.c_str());
    std::printf("the link menu gathers the links anew at every opening, as it must: opened again on a page of a "
                "thousand anchors, %ld calls, %ld of them made by the first opening\n",
                g_linkRepeat.second, g_linkRepeat.repeated);
    for (const Figure& f : g_figures) {
        const double bound = f.fewest * kMaxOverFewest;
        const bool met = f.growth.perUnit <= bound + 1e-9;
        if (f.fewest > 0)
            std::printf("target: %s: calls per %s at most %.1fx the fewest (%.0f): %s (%.2fx)\n", f.operation.c_str(), f.unit,
                        kMaxOverFewest, f.fewest, verdict(met), f.growth.perUnit / f.fewest);
        else
            std::printf("target: %s: no call per %s: %s (%.2f)\n", f.operation.c_str(), f.unit, verdict(met), f.growth.perUnit);
    }
    std::printf("target: style menu opened again on the unchanged page makes no call the first opening made: %s (%ld)\n",
                verdict(g_styleRepeat.repeated == 0), g_styleRepeat.repeated);
}

}  // namespace

int main() {
    setModuleHandle(GetModuleHandleW(nullptr));
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        RegistrySandbox sandbox;
        linkEngine();
        Library library;
        BrowserFrame frame(L"Quorin bench", true);
        const WindowRun run{library, frame};
        linkMenu(run);
        styleMenu(run);
        styleSwitching(run);
        navigation(run);
        frameCompletion(run);
        print();
    }
    OleUninitialize();
    return 0;
}
