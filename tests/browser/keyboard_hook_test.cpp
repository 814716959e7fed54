// Shortcut keys typed into the page of a browser window of the doubles, through the library's
// message hook and the thread's real message loop.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "browser/browser_window.h"
#include "browser/custom_messages.h"
#include "common/unique_handle.h"
#include "settings/settings_store.h"
#include "settings_ui/shortcut_text.h"

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

class KeyboardHookTest : public BrowserWindowTest {
protected:
    // Real key input goes to the focus window of the foreground thread. The frame stays hidden, so
    // that no focus events of the display come in between the keys.
    static bool focusPage(BrowserWindow& window) {
        SetForegroundWindow(window.frame.frame());
        SetFocus(window.frame.documentWindow());
        pumpMessages();
        return GetFocus() == window.frame.documentWindow();
    }
    // Presses (true) and releases (false) keys as the keyboard does, and waits until the page has
    // received them all.
    static void sendKeys(BrowserWindow& window, std::initializer_list<std::pair<WORD, bool>> keys) {
        std::vector<INPUT> inputs;
        for (const auto& [key, down] : keys) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
        const std::size_t expected = window.frame.documentKeys.size() + inputs.size();
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        for (DWORD start = GetTickCount(); window.frame.documentKeys.size() < expected;) {
            pumpMessages();
            if (GetTickCount() - start > 10000) {
                ADD_FAILURE() << "the keys did not reach the page";
                return;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
};

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

// The page's find dialog is another window of the browser's thread: Control pressed in the page
// may be released there. With Alt held, the system reports the release of Control as a system key.
TEST_F(KeyboardHookTest, AModifierReleasedAnywhereOnTheThreadEndsTheCombination) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    HWND document = window.frame.documentWindow();
    const WindowHandle find(
        CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, window.frame.frame(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(find);
    PostMessageW(document, WM_KEYDOWN, VK_CONTROL, 1);
    typeKeys(document, {'F'});
    PostMessageW(find.get(), WM_KEYUP, VK_CONTROL, 0xC0000001);
    typeKeys(document, {kZ});
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "a plain Z after Control went up in the find dialog";

    PostMessageW(document, WM_KEYDOWN, VK_CONTROL, 1);
    PostMessageW(document, WM_KEYDOWN, VK_MENU, 0x20000001);
    PostMessageW(document, WM_SYSKEYUP, VK_CONTROL, 0xE0000001);
    PostMessageW(document, WM_SYSKEYUP, VK_MENU, 0xC0000001);
    typeKeys(document, {kZ});
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "a plain Z after Control and Alt went up as system keys";
    typeKeys(document, {VK_CONTROL, kZ});
    EXPECT_EQ(sheetStates(page.doc()), "DDD") << "the next Control+Z is not blocked";
}

// The system's own key handling, with real key input to the focused page.
TEST_F(KeyboardHookTest, RealKeysReleasedInAnyOrderEndTheirCombination) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    ASSERT_TRUE(focusPage(window)) << "the page did not get the focus";
    sendKeys(window, {{VK_CONTROL, true}, {VK_MENU, true}, {VK_CONTROL, false}, {VK_MENU, false}});
    EXPECT_NE(std::find(window.frame.documentKeys.begin(), window.frame.documentKeys.end(),
                        std::make_pair(UINT{WM_SYSKEYUP}, WPARAM{VK_CONTROL})),
              window.frame.documentKeys.end())
        << "Control released while Alt is held is a system key";
    sendKeys(window, {{kZ, true}, {kZ, false}});
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "a plain Z is no shortcut";
    sendKeys(window, {{VK_CONTROL, true}, {kZ, true}, {kZ, false}, {VK_CONTROL, false}});
    EXPECT_EQ(sheetStates(page.doc()), "DDD");
}

// The system's hot-key control stores arrows, Insert, Delete, Home, End and Page Up/Down with its
// extended-key flag (Wine's control leaves it out, so such values are written here), and the
// settings show them without it, as the keyboard gives them.
TEST_F(KeyboardHookTest, ShortcutsOnExtendedKeysFireWithOrWithoutTheStoredFlag) {
    constexpr WORD kControlRight = 0x0A27, kControlDelete = 0x022E, kControlPageDown = 0x0A22,
                   kControlShiftPageUp = 0x0B21;
    {
        SettingsStore settings;
        settings.loadAll();
        settings.Etc.UseSheetShortcut = kControlRight;
        settings.Etc.UseAttrShortcut = kControlDelete;
        settings.LinkType[0].Shortcut = kControlPageDown;
        settings.CruiseShortcut = kControlShiftPageUp;
        ASSERT_TRUE(settings.saveAll());
    }
    EXPECT_EQ(formatShortcut(kControlRight), L"C + Right");
    PageBuilder page(L"http://server/a.html");
    styledPage(page);
    ElementDouble& styled = page.element(L"p").css(L"color: red");
    page.link(L"next", L"next.html", L"Next");
    {
        BrowserWindow window(library, page);
        window.load();
        HWND document = window.frame.documentWindow();
        typeKeys(document, {VK_CONTROL, VK_DELETE});
        EXPECT_EQ(styled.cssText(), L"");
        typeKeys(document, {VK_CONTROL, VK_RIGHT});
        EXPECT_EQ(sheetStates(page.doc()), "DDD");
        typeKeys(document, {VK_CONTROL, VK_NEXT});
        typeKeys(document, {VK_CONTROL, VK_SHIFT, VK_PRIOR});
        EXPECT_EQ(page.doc().location()->navigations(),
                  (std::vector<std::wstring>{L"http://server/next.html", L"http://server/next.html"}));
    }
    SettingsStore saved;
    saved.loadAll();
    EXPECT_EQ(saved.Etc.UseSheetShortcut, kControlRight) << "what the user stored is written back unchanged";
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
