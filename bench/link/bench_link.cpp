// Link collection against the page doubles: its growth over pages of ten times the anchors (each
// pair taken in turns, timing.h), with the lists limited as by
// default and with the limits lifted, duplicate elimination off and on; per anchor, where the
// time of a collection goes: the doubles answering its calls, the library's own work, and within
// that the address resolution; and what link types matched by words add per anchor, in time and
// in calls into the page. Absolute times are information. Prints its tables and targets; the exit
// code is always 0.

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/module.h"
#include "common/variant.h"
#include "link/link_collection.h"
#include "page/document_walk.h"
#include "page/page_document.h"
#include "settings/settings_store.h"
#include "support/page_builder.h"
#include "support/page_file.h"
#include "support/registry_sandbox.h"
#include "support/site_double.h"
#include "bench_window.h"
#include "link_page.h"
#include "page_calls.h"
#include "timing.h"

using namespace quorin;
using namespace quorin::test;
using namespace quorin::bench;

namespace {

constexpr double kMaxGrowth = 11.0;
constexpr int kTurns = 11;
constexpr int kLargeTurns = 7;  // pairs with a page of 100,000 anchors
constexpr int kLargeAnchors = 100000;
constexpr int kRepeats = 9;
// The words of an anchor with text are the text the menu reads anyway; only anchors beyond full
// general lists, which are otherwise left unread, need theirs read.
constexpr double kMaxWordsCalls = 1.0;

// A collection set up on one page, with its own limits.
class Collector {
public:
    Collector(SettingsStore& store, PageBuilder& page, bool elim, bool unlimited) {
        LinkEtcSettings etc;
        etc.ElimDuplLinks = elim;
        if (unlimited) etc.MaxEtcNum = etc.MaxUnRelNum = etc.MaxNonLinkNum = INT_MAX;
        const LinkEtcSettings stored = store.LinkEtc;
        store.LinkEtc = etc;
        links_ = std::make_unique<LinkCollection>(&store);
        store.LinkEtc = stored;
        site_ = ComPtr<SiteDouble>::adopt(new SiteDouble);
        site_->setBrowser(page.browser()->unknown());
        links_->setSite(site_->unknown());
        links_->setDocument(nullptr);
    }
    void collect() { links_->collect(); }
    void cruise() { links_->cruise(); }
    size_t listed() const {
        size_t n = links_->otherLinks().size() + links_->generalLinks().size() + links_->sameSiteLinks().size();
        for (const LinkTypeEntry& type : links_->linkTypes()) n += type.links.size();
        return n;
    }

private:
    ComPtr<SiteDouble> site_;
    std::unique_ptr<LinkCollection> links_;
};

struct GrowthRow {
    int anchors;
    const char* elim;
    const char* limits;
    Growth timing;
    size_t listed;
    bool target;  // false: the doubles alone, for comparison
};

double collectMs(Collector& c) {
    return timed([] {}, [&] { c.collect(); });
}

// Keeps the results from being optimised away.
volatile size_t g_sink = 0;

// The address resolution of the anchors' hrefs alone, as the collection does it.
void resolveEveryHref(const std::vector<std::wstring>& hrefs, const wchar_t* base) {
    for (const std::wstring& href : hrefs) {
        wchar_t combined[2085];
        DWORD size = 2084;
        if (SUCCEEDED(UrlCombineW(base, href.c_str(), combined, &size, 0))) g_sink = g_sink + size;
    }
}

// Link types of words: the shared generated page, whose anchors all have text, and a page of
// image buttons (every anchor around an image, one in fifty the pager's "次へ"), the case that
// costs most: the words come from the image.
std::unique_ptr<PageBuilder> makeImageButtonPage(int anchors) {
    auto page = std::make_unique<PageBuilder>(L"http://bench.test/dir/photos.html", L"Photos");
    page->skeleton();
    for (int i = 0; i < anchors; ++i) {
        ElementDouble& anchor = page->anchor(L"photo" + std::to_wstring(i) + L".html", L"");
        page->inside(anchor, L"img").attr(L"alt", i % 50 == 49 ? L"次へ" : L"Photo " + std::to_wstring(i));
    }
    return page;
}

void addWordsRows(SettingsStore& store) {
    LinkTypeEntry next, prev;
    next.Title = L"次(文字)";
    next.Attr = L"次へ|次のページ|次|Next|Next page|»";
    prev.Title = L"前(文字)";
    prev.Attr = L"前へ|前のページ|前|戻る|Previous|Prev|«";
    next.Which = prev.Which = kWhichWords;
    store.LinkType.push_back(next);
    store.LinkType.push_back(prev);
}

// A collection with the default limits, with or without the two rows of words.
class WordsCollector {
public:
    WordsCollector(SettingsStore& store, PageBuilder& page, bool words) {
        const std::vector<LinkTypeEntry> table = store.LinkType;
        if (words) addWordsRows(store);
        links_ = std::make_unique<LinkCollection>(&store);
        store.LinkType = table;
        site_ = ComPtr<SiteDouble>::adopt(new SiteDouble);
        site_->setBrowser(page.browser()->unknown());
        links_->setSite(site_->unknown());
        links_->setDocument(nullptr);
    }
    double collectMs() {
        return timed([] {}, [&] { links_->collect(); });
    }
    long calls() {
        return countCalls([&] { links_->collect(); }).total;
    }

private:
    ComPtr<SiteDouble> site_;
    std::unique_ptr<LinkCollection> links_;
};

struct WordsRow {
    const char* page;
    int anchors;
    Paired timing;      // without the rows of words, then with them
    double addedCalls;  // per anchor
    Growth growth;      // with words: n and 10n anchors
};

std::unique_ptr<PageBuilder> loadRealPage(int& anchors) {
    auto page = loadPageFile(QUORIN_BENCH_PAGES L"\\m4\\index.page");
    if (page) anchors = static_cast<int>(page->doc().elementsByTag(L"a").size() + page->doc().elementsByTag(L"link").size());
    return page;
}

class Bench {
public:
    Bench() {
        store_.loadLinkType();
        store_.loadLinkCruise();
    }

    void growth(int small) {
        auto few = makeLinkPage(small);
        auto many = makeLinkPage(10 * small);
        const int turns = 10 * small >= kLargeAnchors ? kLargeTurns : kTurns;
        for (bool unlimited : {false, true})
            for (bool elim : {false, true}) {
                Collector a(store_, *few, elim, unlimited), b(store_, *many, elim, unlimited);
                const Growth t = measureGrowth(turns, [&] { return collectMs(a); }, [&] { return collectMs(b); });
                rows_.push_back({small, elim ? "on" : "off", unlimited ? "none" : "999", t, b.listed(), true});
            }
        Collector a(store_, *few, false, false), b(store_, *many, false, false);
        const auto cruise = [](Collector& c) { return timed([] {}, [&] { c.cruise(); }); };
        rows_.push_back({small, "off", "cruise", measureGrowth(turns, [&] { return cruise(a); }, [&] { return cruise(b); }),
                         0, true});
        const auto replay = [](PageBuilder& page) { return timed([] {}, [&] { replayAnchorCalls(page.document()); }); };
        const Growth t = measureGrowth(turns, [&] { return replay(*few); }, [&] { return replay(*many); });
        rows_.push_back({small, "-", "doubles", t, 0, false});
    }

    // Per anchor of a page of n anchors, limits lifted: the whole collection, the doubles alone
    // answering the same calls, the bare walk over the anchors, and the resolution alone.
    void shares(int anchors) {
        auto page = makeLinkPage(anchors);
        Collector c(store_, *page, false, true);
        std::vector<std::wstring> hrefs;
        for (ElementDouble* a : page->doc().elementsByTag(L"a")) hrefs.push_back(*a->attribute(L"href"));
        const std::wstring base = page->doc().url();
        const auto perAnchor = [&](const std::function<void()>& step) {
            return 1e6 * measure(kRepeats, [] {}, step).best / anchors;
        };
        const double whole = perAnchor([&] { c.collect(); });
        const double doubles = perAnchor([&] { replayAnchorCalls(page->document()); });
        const double walk = perAnchor([&] { forEachElementOfTag(page->document(), L"a", [](IHTMLElement*) {}); });
        const double resolution = perAnchor([&] { resolveEveryHref(hrefs, base.c_str()); });
        std::printf("\nWhere a collection's time goes, per anchor of %d, limits lifted (best of %d, ns):\n", anchors,
                    kRepeats);
        std::printf("  %-58s %8.0f\n", "the whole collection", whole);
        std::printf("  %-58s %8.0f\n", "the doubles answering the same calls, nothing else done", doubles);
        std::printf("  %-58s %8.0f\n", "  of which the bare walk (fetch and element interface)", walk);
        std::printf("  %-58s %8.0f\n", "the library's own work (the rest)", whole - doubles);
        std::printf("  %-58s %8.0f\n", "  of which the address resolution (the system's UrlCombineW)", resolution);
        std::printf("  the whole collection costs %.1fx the bare walk; the library's own work %.1fx\n", whole / walk,
                    (whole - doubles) / walk);
    }

    void realPage() {
        int anchors = 0;
        auto page = loadRealPage(anchors);
        if (!page) {
            std::printf("real page: converted pages not found at %ls\n", QUORIN_BENCH_PAGES);
            return;
        }
        for (bool elim : {false, true}) {
            Collector c(store_, *page, elim, false);
            const Timing t = measure(kRepeats, [&] { c.collect(); });
            std::printf("real page m4/index (%d links), Elim %s: best %.3f ms, median %.3f ms\n", anchors,
                        elim ? "on" : "off", t.best, t.median);
        }
    }

    void print() const {
        std::printf("Link collection on the generated page, n and 10n anchors in turns (%d turns, %d with %d anchors; "
                    "times in ms)\n",
                    kTurns, kLargeTurns, kLargeAnchors);
        std::printf("%8s %5s %7s %9s %9s %9s %9s %8s %7s\n", "n", "Elim", "limits", "n best", "n median", "10n best",
                    "10n med", "listed", "growth");
        for (const GrowthRow& r : rows_)
            std::printf("%8d %5s %7s %9.2f %9.2f %9.2f %9.2f %8zu %7.2f\n", r.anchors, r.elim, r.limits,
                        r.timing.small.best, r.timing.small.median, r.timing.large.best, r.timing.large.median,
                        r.listed, r.timing.growth);
        std::printf("growth: a run at 10n over ten at n, in turns, the median of the turns (x10 is linear);\n"
                    "\"cruise\": the manual cruise,"
                    " a collection with the default limits and one navigation; \"doubles\": the doubles alone\n"
                    "answering the calls a collection makes for every anchor, nothing else done\n");
    }

    // What the two rows of words add to a collection, per anchor, on pages of n anchors, and how
    // a collection with them grows from n to 10n anchors.
    void words(int small) {
        const struct {
            const char* name;
            std::unique_ptr<PageBuilder> (*make)(int);
        } pages[] = {{"generated", makeLinkPage}, {"images", makeImageButtonPage}};
        for (const auto& kind : pages) {
            auto few = kind.make(small);
            auto many = kind.make(10 * small);
            WordsCollector plain(store_, *few, false), withWords(store_, *few, true), manyWords(store_, *many, true);
            const int turns = 10 * small >= kLargeAnchors ? kLargeTurns : kTurns;
            const Paired timing =
                measurePaired(turns, [&] { return plain.collectMs(); }, [&] { return withWords.collectMs(); });
            const double added = static_cast<double>(withWords.calls() - plain.calls()) / small;
            const Growth growth =
                measureGrowth(turns, [&] { return withWords.collectMs(); }, [&] { return manyWords.collectMs(); });
            words_.push_back({kind.name, small, timing, added, growth});
        }
    }

    void printWords() const {
        std::printf("\nLink types of words: the two rows 次(文字) and 前(文字) added to the default table (default limits; "
                    "ms, in turns)\n");
        std::printf("%-10s %8s %9s %9s %9s %9s %11s %11s %7s\n", "page", "n", "off best", "off med", "on best",
                    "on med", "+ns/anchor", "+calls/anc", "growth");
        for (const WordsRow& r : words_)
            std::printf("%-10s %8d %9.2f %9.2f %9.2f %9.2f %11.0f %11.2f %7.2f\n", r.page, r.anchors,
                        r.timing.first.best, r.timing.first.median, r.timing.second.best, r.timing.second.median,
                        (r.timing.second.best - r.timing.first.best) * 1e6 / r.anchors, r.addedCalls,
                        r.growth.growth);
        std::printf("growth: with words, as in the first table\n");
    }

    void printTargets() const {
        const struct {
            const char* limits;
            const char* what;
        } kinds[] = {{"999", "link collection, default limits"},
                     {"none", "link collection, limits lifted"},
                     {"cruise", "manual cruise"}};
        for (const auto& kind : kinds) {
            double worst = 0;
            for (const GrowthRow& r : rows_)
                if (std::string(r.limits) == kind.limits) worst = std::max(worst, r.timing.growth);
            std::printf("target: %s, at ten times the anchors in at most %.0fx the time (in turns): %s "
                        "(%.2fx)\n",
                        kind.what, kMaxGrowth, verdict(worst <= kMaxGrowth), worst);
        }
        double worstGrowth = 0, worstTextCalls = 0;
        for (const WordsRow& r : words_) {
            worstGrowth = std::max(worstGrowth, r.growth.growth);
            if (std::string(r.page) == "generated") worstTextCalls = std::max(worstTextCalls, r.addedCalls);
        }
        std::printf("target: link collection with link types of words, at ten times the anchors in at most %.0fx the "
                    "time (in turns): %s (%.2fx)\n",
                    kMaxGrowth, verdict(worstGrowth <= kMaxGrowth), worstGrowth);
        std::printf("target: link types of words add at most %.0f call into the page per anchor with text: %s (%.2f)\n",
                    kMaxWordsCalls, verdict(worstTextCalls <= kMaxWordsCalls), worstTextCalls);
    }

private:
    RegistrySandbox sandbox_;
    SettingsStore store_;
    std::vector<GrowthRow> rows_;
    std::vector<WordsRow> words_;
};

}  // namespace

int main() {
    setModuleHandle(GetModuleHandleW(nullptr));
    if (FAILED(OleInitialize(nullptr))) return 0;
    {
        Bench bench;
        for (int anchors : {1000, 10000}) bench.growth(anchors);
        bench.print();
        bench.shares(10000);
        bench.realPage();
        for (int anchors : {1000, 10000}) bench.words(anchors);
        bench.printWords();
        bench.printTargets();
    }
    OleUninitialize();
    return 0;
}
