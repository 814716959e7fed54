// Growth of every operation of the style engine against the page doubles: each operation on a
// page and on one with ten times the sheets or elements, taken in turns (timing.h). Linear work
// grows x10; the target allows x11. With and without frames. Absolute times are
// printed as information. Prints one table and its targets; the exit code is always 0.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "page/document_walk.h"
#include "style/style_engine.h"
#include "support/page_builder.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"
#include "bench_window.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr double kMaxGrowth = 11.0;
// Turns of the pair; fewer where one run of the larger page takes a noticeable part of a second.
constexpr int kTurns = 31;
constexpr int kLargeTurns = 15;
constexpr int kLargeItems = 100000;

// A page of sheets and inline-styled elements spread evenly over the top document and frames.
// Every fourth sheet is untitled; titled sheets come in pairs of one title.
std::unique_ptr<PageBuilder> makePage(int sheets, int elements, int frames) {
    auto page = std::make_unique<PageBuilder>(L"http://bench.test/index.html");
    std::vector<PageBuilder*> documents{page.get()};
    for (int f = 0; f < frames; ++f) documents.push_back(&page->frame(L"http://bench.test/f" + std::to_wstring(f)));
    const size_t count = documents.size();
    for (int i = 0; i < sheets; ++i) {
        PageBuilder& doc = *documents[i % count];
        if (i % 4 == 3)
            doc.sheet(std::nullopt);
        else
            doc.sheet(L"Title " + std::to_wstring(i / 2), L"s" + std::to_wstring(i) + L".css", i % 2 == 1);
    }
    for (int i = 0; i < elements; ++i) {
        documents[i % count]->element(L"p").css(L"margin: " + std::to_wstring(i % 7) + L"px");
    }
    return page;
}

// One page with an engine attached to it.
class Setup {
public:
    Setup(SettingsStore& store, int sheets, int elements, int frames)
        : page_(makePage(sheets, elements, frames)), site_(ComPtr<SiteDouble>::adopt(new SiteDouble)), engine_(store) {
        site_->setBrowser(page_->browser()->unknown());
        engine_.setSite(site_->unknown());
        engine_.refreshList();
    }
    StyleEngine& engine() { return engine_; }
    PageBuilder& page() { return *page_; }

private:
    std::unique_ptr<PageBuilder> page_;
    ComPtr<SiteDouble> site_;
    StyleEngine engine_;
};

// Reaching every element of every document, doing nothing with it: the doubles' own share of
// the style attribute operations.
void walkElements(PageBuilder& page) {
    forEachElement(page.document(), [](IHTMLElement*) {});
    for (const auto& frame : page.doc().frames()) forEachElement(frame->document(), [](IHTMLElement*) {});
}

struct Operation {
    const char* name;
    std::function<void(Setup&)> prepare;
    std::function<void(Setup&)> step;
    bool target;  // false: the doubles alone, shown for comparison
};

struct Row {
    const char* operation;
    const char* items;
    int small;
    int frames;
    Growth timing;
    bool target;
};

class Bench {
public:
    // Only the operations whose name starts with only, when given (for a profile of one).
    explicit Bench(const char* only) : only_(only ? only : "") { store_.Etc.SyncUse = false; }

    void run(const std::vector<Operation>& operations, const char* items, int small, int frames) {
        const bool sheets = items[0] == 's';
        Setup few(store_, sheets ? small : 0, sheets ? 0 : small, frames);
        Setup many(store_, sheets ? 10 * small : 0, sheets ? 0 : 10 * small, frames);
        const int turns = 10 * small >= kLargeItems ? kLargeTurns : kTurns;
        for (const Operation& op : operations) {
            if (std::string(op.name).rfind(only_, 0) != 0) continue;
            const Growth timing = measureGrowth(
                turns, [&] { return timed([&] { op.prepare(few); }, [&] { op.step(few); }); },
                [&] { return timed([&] { op.prepare(many); }, [&] { op.step(many); }); });
            rows_.push_back({op.name, items, small, frames, timing, op.target});
        }
    }

    void print() const {
        std::printf("Style engine against the page doubles: each operation on n and 10n items in turns "
                    "(%d turns, %d for %d items; times in ms)\n",
                    kTurns, kLargeTurns, kLargeItems);
        std::printf("%-22s %-9s %7s %6s %9s %9s %9s %9s %7s %9s\n", "operation", "items", "n", "frames", "n best",
                    "n median", "10n best", "10n med", "growth", "us/item");
        for (const Row& r : rows_)
            std::printf("%-22s %-9s %7d %6d %9.3f %9.3f %9.3f %9.3f %7.2f %9.3f\n", r.operation, r.items, r.small,
                        r.frames, r.timing.small.best, r.timing.small.median, r.timing.large.best,
                        r.timing.large.median, r.timing.growth, 1000.0 * r.timing.large.median / (10.0 * r.small));
        std::printf("growth: a run at 10n over ten at n, in turns, the median of the turns (x10 is linear); us/item\n"
                    "from the 10n median\n");
        std::map<std::string, double> worst;
        std::vector<std::string> order;
        for (const Row& r : rows_) {
            if (!r.target) continue;
            if (!worst.count(r.operation)) order.push_back(r.operation);
            worst[r.operation] = std::max(worst[r.operation], r.timing.growth);
        }
        for (const std::string& op : order)
            std::printf("target: %s at ten times the items in at most %.0fx the time (in turns): %s (%.2fx)\n",
                        op.c_str(), kMaxGrowth, verdict(worst[op] <= kMaxGrowth), worst[op]);
    }

private:
    std::string only_;
    RegistrySandbox sandbox_;
    SettingsStore store_;
    std::vector<Row> rows_;
};

}  // namespace

int main(int argc, char** argv) {
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        const auto none = [](Setup&) {};
        const SharedString wanted(L"Title 1");
        const std::vector<Operation> sheetOperations = {
            {"refreshList", none, [](Setup& s) { s.engine().refreshList(); }, true},
            {"selectSheet", none, [&](Setup& s) { s.engine().selectSheet(wanted); }, true},
            {"setUseSheets off", [](Setup& s) { s.engine().setUseSheets(true); },
             [](Setup& s) { s.engine().setUseSheets(false); }, true},
            {"setUseSheets on", [](Setup& s) { s.engine().setUseSheets(false); },
             [](Setup& s) { s.engine().setUseSheets(true); }, true},
        };
        const std::vector<Operation> elementOperations = {
            {"setUseStyleAttr off", [](Setup& s) { s.engine().setUseStyleAttr(true); },
             [](Setup& s) { s.engine().setUseStyleAttr(false); }, true},
            {"setUseStyleAttr on", [](Setup& s) { s.engine().setUseStyleAttr(false); },
             [](Setup& s) { s.engine().setUseStyleAttr(true); }, true},
            {"(element walk only)", none, [](Setup& s) { walkElements(s.page()); }, false},
        };
        // The doubles' record of attribute calls would grow with every run.
        ElementDouble::recordAttributeCalls(false);
        Bench bench(argc > 1 ? argv[1] : nullptr);
        for (int frames : {0, 10}) {
            bench.run(sheetOperations, "sheets", 1000, frames);
            bench.run(elementOperations, "elements", 10000, frames);
        }
        bench.print();
    }
    OleUninitialize();
    return 0;
}
