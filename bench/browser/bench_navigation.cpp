// Growth of a navigation and of a frame's completion with the built library in a browser window
// of the doubles: a page of n sheets and one of ten times as many (with added sheets and a
// preferred title), and a frameset of n frames and one of ten times as many, each pair taken in
// turns (timing.h) on fresh documents. Prints one table and the targets; the exit code is always 0.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_store.h"
#include "support/browser_double.h"
#include "support/library.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "bench_window.h"
#include "sheet_page.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr double kMaxGrowth = 11.0;
constexpr int kTurns = 9;
constexpr wchar_t kAddress[] = L"http://bench.test/dir/index.html";

std::unique_ptr<PageBuilder> sheetPage(int sheets) {
    auto page = std::make_unique<PageBuilder>(kAddress, L"Bench");
    page->skeleton().filler(20);
    addSheets(*page, sheets);
    return page;
}

std::unique_ptr<PageBuilder> framesetPage(int frames) {
    auto page = std::make_unique<PageBuilder>(kAddress, L"Frames");
    page->skeleton().filler(2);
    for (int f = 0; f < frames; ++f) {
        PageBuilder& frame = page->frame(L"http://bench.test/dir/f" + std::to_wstring(f) + L".html");
        frame.skeleton().filler(2);
        addSheets(frame, 4);
    }
    return page;
}

// Ten added sheets and a preferred title for every page of the bench's site.
void writeSettings() {
    SettingsStore store;
    store.loadAll();
    for (int i = 0; i < 10; ++i)
        store.AddSheet.push_back({(L"Added " + std::to_wstring(i)).c_str(), (L"C:\\styles\\a" + std::to_wstring(i) + L".css").c_str()});
    store.Prefer = {{L"Title 1", L"http://bench.test/"}};
    store.saveAll();
}

using PageMaker = std::function<std::unique_ptr<PageBuilder>(int)>;
using Step = std::function<void(BenchWindow&, PageBuilder&)>;

struct Row {
    const char* operation;
    const char* unit;
    int small;
    Growth timing;
};

class Bench {
public:
    Bench(const Library& library, BrowserFrame& frame) : library_(library), frame_(frame) {}

    // prepare readies the window on a fresh page, untimed; step is timed.
    void run(const char* operation, const char* unit, int small, const PageMaker& make, const Step& prepare,
             const Step& step) {
        auto first = make(small);
        BenchWindow window(library_, frame_, first->document());
        std::unique_ptr<PageBuilder> page;
        const auto once = [&](int size) {
            return timed(
                [&] {
                    page = make(size);
                    prepare(window, *page);
                },
                [&] { step(window, *page); });
        };
        rows_.push_back({operation, unit, small, measureGrowth(kTurns, [&] { return once(small); }, [&] { return once(10 * small); })});
    }

    void print() const {
        std::printf("Navigation and frame completion with the library in a browser window, n and 10n in turns "
                    "(%d turns, fresh documents; times in ms)\n",
                    kTurns);
        std::printf("%-58s %-6s %5s %9s %9s %9s %9s %7s\n", "operation", "unit", "n", "n best", "n median", "10n best",
                    "10n med", "growth");
        for (const Row& r : rows_)
            std::printf("%-58s %-6s %5d %9.3f %9.3f %9.3f %9.3f %7.2f\n", r.operation, r.unit, r.small,
                        r.timing.small.best, r.timing.small.median, r.timing.large.best, r.timing.large.median,
                        r.timing.growth);
        std::printf("growth: a run at 10n over ten at n, in turns, the median of the turns (x10 is linear)\n");
        std::vector<std::pair<std::string, double>> worst;
        for (const Row& r : rows_) {
            const std::string what = std::string(r.operation) + " at ten times the " + r.unit + "s";
            auto it = std::find_if(worst.begin(), worst.end(), [&](const auto& w) { return w.first == what; });
            if (it == worst.end()) it = worst.insert(worst.end(), {what, 0.0});
            it->second = std::max(it->second, r.timing.growth);
        }
        for (const auto& [what, growth] : worst)
            std::printf("target: %s in at most %.0fx the time (in turns): %s (%.2fx)\n", what.c_str(),
                        kMaxGrowth, verdict(growth <= kMaxGrowth), growth);
    }

private:
    const Library& library_;
    BrowserFrame& frame_;
    std::vector<Row> rows_;
};

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        RegistrySandbox sandbox;
        writeSettings();
        Library library;
        BrowserFrame frame(L"Quorin bench");
        Bench bench(library, frame);
        const Step show = [](BenchWindow& w, PageBuilder& page) { w.browser().setDocument(page.document()); };
        const Step load = [](BenchWindow& w, PageBuilder&) {
            w.browser().playPageLoad();
            pump();
        };
        bench.run("navigation, added sheets and preferred title", "sheet", 1000, sheetPage, show, load);
        // The top document completed before its frames; then the first frame completes.
        const Step topFirst = [](BenchWindow& w, PageBuilder& page) {
            BrowserDouble& top = w.browser();
            top.setDocument(page.document());
            top.fireBeforeNavigate2(&top, kAddress);
            top.fireNavigateComplete2(&top, kAddress);
            top.fireDocumentComplete(&top, kAddress);
            pump();
        };
        const Step frameCompletes = [](BenchWindow& w, PageBuilder& page) {
            DocumentDouble* first = page.doc().frames().front()->document();
            auto view = ComPtr<BrowserDouble>::adopt(new BrowserDouble(first, nullptr, false));
            w.browser().fireDocumentComplete(view.get(), first->url());
            pump();
        };
        for (int frames : {10, 100}) {
            bench.run("frame completion, added sheets and preferred title", "frame", frames, framesetPage, topFirst,
                      frameCompletes);
            bench.run("navigation of a frameset, added sheets and preferred title", "frame", frames, framesetPage, show,
                      load);
        }
        bench.print();
    }
    OleUninitialize();
    return 0;
}
