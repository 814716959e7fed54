// Eight browser windows on eight threads, each with its own apartment, message loop, band and
// helper, loading pages and typing every kind of shortcut at once: each key acts on its own
// window only, and every double is given back at the end.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "robustness/robustness_support.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 50;

struct WindowRecord {
    std::vector<std::wstring> navigations;
    std::string sheets;
    size_t keys = 0;
};

// One thread's window: each round loads the page afresh, turns the sheets and the style
// attributes off, follows the next link by its shortcut, and cruises.
WindowRecord browse(const Library& library, int thread) {
    WindowRecord record;
    OleInitialize(nullptr);
    {
        const std::wstring site = L"http://site" + std::to_wstring(thread) + L".test/";
        PageBuilder page(site + L"index.html");
        styledPage(page);
        page.element(L"p").attr(L"style", L"color: red");
        page.link(L"next", L"next.html");
        BrowserWindow window(library, page);
        HWND document = window.frame.documentWindow();
        for (int round = 0; round < kRounds; ++round) {
            for (const auto& sheet : page.doc().sheets()) sheet->setDisabled(sheet->title() == L"Red");
            window.load();
            typeKeys(document, {VK_CONTROL, 'Z'});
            typeKeys(document, {VK_CONTROL, 'Q'});
            typeLinkShortcut(document, 'N');
            typeKeys(document, {VK_CONTROL, 'U'});
            record.sheets += sheetStates(page.doc()) + " ";
        }
        record.navigations = page.doc().location()->navigations();
        record.keys = window.frame.documentKeys.size();
    }
    OleUninitialize();
    return record;
}

class ManyWindows : public BrowserWindowTest {};

TEST_F(ManyWindows, EightThreadsLoadAndTypeAtOnceAndEachKeyReachesItsOwnWindow) {
    std::vector<WindowRecord> records(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back([&, t] { records[t] = browse(library, t); });
    for (auto& thread : threads) thread.join();

    for (int t = 0; t < kThreads; ++t) {
        const std::wstring next = L"http://site" + std::to_wstring(t) + L".test/next.html";
        EXPECT_EQ(records[t].navigations, std::vector<std::wstring>(2 * kRounds, next))
            << "thread " << t << ": the link shortcut and the cruise, each round, to its own page's link";
        std::string off;
        for (int round = 0; round < kRounds; ++round) off += "DDD ";
        EXPECT_EQ(records[t].sheets, off) << "thread " << t;
        EXPECT_EQ(records[t].keys, static_cast<size_t>(kRounds * (4 + 4 + 6 + 4))) << "thread " << t;
    }
}

}  // namespace
