// Shortcut keys typed into the page of a browser window of the doubles, through the library's
// message hook and the thread's real message loop.

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "browser/browser_window.h"
#include "browser/custom_messages.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr WPARAM kZ = 'Z';

// Another WH_GETMESSAGE hook of the thread, as another extension would have: counts what reaches it.
class CountingHook {
public:
    CountingHook() : hook_(SetWindowsHookExW(WH_GETMESSAGE, procedure, nullptr, GetCurrentThreadId())) { count_ = 0; }
    ~CountingHook() { UnhookWindowsHookEx(hook_); }
    static int count() { return count_; }

private:
    static LRESULT CALLBACK procedure(int code, WPARAM removal, LPARAM message) {
        const auto* msg = reinterpret_cast<const MSG*>(message);
        if (code >= 0 && removal == PM_REMOVE && msg->message == WM_APP) ++count_;
        return CallNextHookEx(nullptr, code, removal, message);
    }
    HHOOK hook_;
    static inline int count_ = 0;
};

class KeyboardHookTest : public BrowserWindowTest {};

TEST_F(KeyboardHookTest, ControlZInThePageTogglesTheSheetsAndStillReachesThePage) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    HWND document = window.frame.documentWindow();
    typeKeys(document, {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "DDD");
    const std::vector<std::pair<UINT, WPARAM>> delivered{
        {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, kZ}, {WM_KEYUP, kZ}, {WM_KEYUP, VK_CONTROL}};
    EXPECT_EQ(window.frame.documentKeys, delivered) << "the page gets every key unchanged";
    typeKeys(document, {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "EED");
    typeKeys(document, {kZ});
    typeKeys(document, {VK_SHIFT, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "other combinations are not the shortcut";
}

TEST_F(KeyboardHookTest, KeysForOtherWindowsSystemKeysAndPeekedKeysAreNotOffered) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    for (HWND other : {window.frame.frame(), window.frame.rebar(), window.toolbar()})
        typeKeys(other, {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "EED");
    HWND document = window.frame.documentWindow();
    PostMessageW(document, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    typeKeys(document, {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "DDD") << "Alt from a system key is not tracked";
    PostMessageW(document, WM_SYSKEYUP, VK_MENU, 0xC0000001);

    PostMessageW(document, WM_KEYDOWN, VK_CONTROL, 1);
    PostMessageW(document, WM_KEYDOWN, kZ, 1);
    MSG peeked;
    while (PeekMessageW(&peeked, document, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && peeked.wParam != kZ)
        PeekMessageW(&peeked, document, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    typeKeys(document, {}, WM_KEYDOWN, WM_KEYUP);
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "a key looked at first and taken later counts once";
}

TEST_F(KeyboardHookTest, OtherHooksOfTheThreadKeepReceivingEveryMessage) {
    CountingHook other;
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    for (HWND target : {window.frame.documentWindow(), window.frame.frame(), HWND{}})
        for (int i = 0; i < 10; ++i) PostMessageW(target, WM_APP, 0, 0);
    pumpMessages();
    EXPECT_EQ(CountingHook::count(), 30);
}

TEST_F(KeyboardHookTest, QuitRemovesTheHookAndTheNextNavigationBringsItBack) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    window.browser->fireOnQuit();
    typeKeys(window.frame.documentWindow(), {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "EED");
    SendMessageW(window.messageWindow(), UM_TOP_NAVIGATE_COMPLETE, 0, 0);
    typeKeys(window.frame.documentWindow(), {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "DDD");
}

// A toolbar window going away must not take the thread's hook from the one that keeps it.
TEST_F(KeyboardHookTest, ASecondBandOnTheThreadLeavesTheFirstOneItsKeys) {
    PageBuilder first;
    styledPage(first);
    BrowserWindow kept(library, first);
    kept.load();
    {
        PageBuilder second;
        styledPage(second);
        BrowserWindow closing(library, second);
        closing.load();
        typeKeys(kept.frame.documentWindow(), {VK_CONTROL, kZ});
        EXPECT_EQ(sheetStates(first.doc()), "DDD") << "offered once, not once per band";
    }
    typeKeys(kept.frame.documentWindow(), {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(first.doc()), "EED");
}

TEST_F(KeyboardHookTest, EightBrowserThreadsNavigateAndTypeAtOnce) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 10;
    std::vector<std::string> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            OleInitialize(nullptr);
            {
                PageBuilder page(L"http://server/" + std::to_wstring(t) + L".html");
                styledPage(page);
                BrowserWindow window(library, page);
                for (int round = 0; round < kRounds; ++round) {
                    // Each round shows the page as it was first loaded.
                    for (const auto& sheet : page.doc().sheets()) sheet->setDisabled(sheet->title() == L"Red");
                    window.load();
                    // Odd numbered threads type twice, so their pages end as they began.
                    for (int press = 0; press <= t % 2; ++press) typeKeys(window.frame.documentWindow(), {VK_CONTROL, kZ});
                    results[t] += sheetStates(page.doc()) + " ";
                }
            }
            OleUninitialize();
        });
    }
    for (auto& thread : threads) thread.join();
    std::string even, odd;
    for (int round = 0; round < kRounds; ++round) {
        even += "DDD ";
        odd += "EED ";
    }
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t], t % 2 ? odd : even) << "thread " << t;
}

}  // namespace
