// Eight browser windows on eight threads, each with its own apartment, message loop, band and
// helper, loading pages, choosing from the style menu by keyboard and typing every kind of
// shortcut at once: each key acts on its own window only, and every double is given back at the
// end.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "robustness/robustness_support.h"
#include "support/menu_driver.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 50;

struct WindowRecord {
    std::vector<std::wstring> navigations;
    std::string chosen;  // the sheets after "Red" was chosen from the style menu, each round
    std::string sheets;
    size_t keys = 0;
};

// One menu is open at a time, as on a user's desktop: a menu closes when another window takes the
// activation. The other threads go on loading and typing meanwhile.
std::mutex g_menuTurn;

// The style menu opened from the arrow and "Red" chosen with the keyboard.
void chooseRed(HWND toolbar) {
    const std::lock_guard<std::mutex> turn(g_menuTurn);
    ModalScript script(30000);
    script.run([&] { clickDropDown(toolbar, 40001); },
               [](ModalScript& s) {
                   HMENU menu = waitForPopup(s);
                   if (!menu) return;
                   for (const MenuItem& item : menuItems(menu))
                       if (item.text == L"Red") return chooseItem(s, menu, item.id);
                   closeMenus(s);
               });
}

// One thread's window: each round loads the page afresh, chooses a title from the style menu,
// turns the sheets and the style attributes off, follows the next link by its shortcut, and
// cruises.
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
            chooseRed(window.toolbar());
            record.chosen += sheetStates(page.doc()) + " ";
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
        std::string off, red;
        for (int round = 0; round < kRounds; ++round) {
            off += "DDD ";
            red += "EDE ";
        }
        EXPECT_EQ(records[t].chosen, red) << "thread " << t << ": the menu's choice on its own page";
        EXPECT_EQ(records[t].sheets, off) << "thread " << t;
        EXPECT_EQ(records[t].keys, static_cast<size_t>(kRounds * (4 + 4 + 6 + 4))) << "thread " << t;
    }
}

}  // namespace
