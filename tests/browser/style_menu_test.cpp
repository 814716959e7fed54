// The "スタイル" button's drop-down as the user meets it in a browser window of the doubles: the
// menu read while open, items chosen by keyboard, the settings sheet opened from it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/browser_window.h"
#include "common/reg_key.h"
#include "settings/settings_store.h"
#include "settings_ui_resource.h"
#include "support/menu_driver.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr int kStyleId = 40001;
constexpr UINT kFixedOnly = 40002, kUseAttr = 40003, kSettings = 40099;
constexpr wchar_t kSheetCaption[] = L"スタイルシート切り替えの設定";

// The menu as a line per item: id and text, "-" for a separator, with [x] checked and [g] greyed.
std::vector<std::wstring> describe(const std::vector<MenuItem>& items) {
    std::vector<std::wstring> lines;
    for (const MenuItem& item : items) {
        if (item.separator()) {
            lines.push_back(L"-");
            continue;
        }
        std::wstring line = std::to_wstring(item.id) + L" " + item.text;
        if (item.checked()) line += L" [x]";
        if (item.grayed()) line += L" [g]";
        lines.push_back(line);
    }
    return lines;
}

std::wstring statusText(HWND statusBar) {
    wchar_t text[256] = {};
    SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

class StyleMenuTest : public BrowserWindowTest {
protected:
    // Opens the drop-down, reads the menu, then runs then (which chooses or closes).
    std::vector<std::wstring> openMenu(BrowserWindow& window,
                                       const std::function<void(ModalScript&, HMENU)>& then = nullptr) {
        std::vector<MenuItem> items;
        ModalScript script(60000);
        EXPECT_TRUE(script.run([&] { clickDropDown(window.toolbar(), kStyleId); },
                               [&](ModalScript& s) {
                                   HMENU menu = waitForPopup(s);
                                   ASSERT_TRUE(menu) << "no menu opened";
                                   items = menuItems(menu);
                                   if (then)
                                       then(s, menu);
                                   else
                                       closeMenus(s);
                               }));
        return describe(items);
    }
    void choose(BrowserWindow& window, UINT id) {
        openMenu(window, [id](ModalScript& s, HMENU menu) { chooseItem(s, menu, id); });
    }
    // The button's face, as a click on it sends it.
    static void clickFace(BrowserWindow& window) {
        SendMessageW(window.messageWindow(), WM_COMMAND, kStyleId, reinterpret_cast<LPARAM>(window.toolbar()));
    }
    static void storeAddedSheet(const wchar_t* title, const wchar_t* path) {
        SettingsStore store;
        store.loadAll();
        AddSheetEntry entry;
        entry.Title = title;
        entry.Path = path;
        store.AddSheet.push_back(entry);
        store.saveAll();
    }
    static void storePreferred(const wchar_t* uri, const wchar_t* title) {
        SettingsStore store;
        store.loadAll();
        PreferEntry entry;
        entry.URI = uri;
        entry.Title = title;
        store.Prefer.push_back(entry);
        store.saveAll();
    }
};

TEST_F(StyleMenuTest, ListsPageAndAddedTitlesAndChoosingOneSwitchesThePage) {
    storeAddedSheet(L"Mine", L"C:\\mine.css");
    PageBuilder page;
    styledPage(page);
    page.sheet(L"Salt & Pepper", L"salt.css", true);
    page.sheet(std::wstring(100, L'T'), L"long.css", true);
    BrowserWindow window(library, page);
    window.load();

    const std::vector<std::wstring> expected = {
        L"40001 スタイルシートを使う(&U) [x]", L"-", L"40003 style属性を使う(&A) [x]", L"-",
        L"40101 Blue [x]", L"40102 Red", L"40103 Salt && Pepper", L"40104 " + std::wstring(59, L'T'), L"-",
        L"40201 Mine", L"-", L"40002 (固定シートのみ)", L"-", L"40099 設定(&S)..."};
    EXPECT_EQ(openMenu(window), expected);

    choose(window, 40102);
    EXPECT_EQ(sheetStates(page.doc()).substr(0, 3), "EDE") << "fixed, Blue, Red";
    choose(window, 40201);
    EXPECT_EQ(sheetStates(page.doc()).substr(0, 5), "EDDDD") << "only the added sheet is on";
    const auto afterAdded = openMenu(window);
    EXPECT_EQ(afterAdded[9], L"40201 Mine [x]");
    EXPECT_EQ(afterAdded[11], L"40002 (固定シートのみ)");
    choose(window, kFixedOnly);
    EXPECT_EQ(openMenu(window)[11], L"40002 (固定シートのみ) [x]");

    choose(window, kUseAttr);
    EXPECT_EQ(openMenu(window)[2], L"40003 style属性を使う(&A)");
    choose(window, kStyleId);
    EXPECT_EQ(sheetStates(page.doc()), "DDDDDD") << "every sheet off, the added one too";
}

TEST_F(StyleMenuTest, HighlightingShowsHelpTextsAndTitlesClearTheStatusBar) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    HWND status = window.frame.statusBar();
    std::vector<std::wstring> seen;
    openMenu(window, [&](ModalScript& s, HMENU) {
        for (int i = 0; i < 3; ++i) {
            pressMenuKey(s, VK_DOWN);
            seen.push_back(statusText(status));
        }
        closeMenus(s);
    });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"スタイルシートの使用/不使用を切り替えます。",
                                               L"style属性の使用/不使用を切り替えます。", L""}));
}

TEST_F(StyleMenuTest, PagesWithoutTitlesAndBeforeAnyDocument) {
    PageBuilder bare;
    bare.skeleton().filler(4);
    BrowserWindow early(library, bare);
    EXPECT_EQ(openMenu(early), (std::vector<std::wstring>{L"40001 スタイルシートを使う(&U) [x] [g]", L"-",
                                                          L"40003 style属性を使う(&A) [x] [g]", L"-",
                                                          L"40099 設定(&S)..."}))
        << "before the first document";
    early.load();
    EXPECT_EQ(openMenu(early)[0], L"40001 スタイルシートを使う(&U) [x] [g]") << "a page without sheets";
    EXPECT_EQ(openMenu(early)[2], L"40003 style属性を使う(&A) [x]");

    PageBuilder untitled;
    untitled.skeleton().filler(4);
    untitled.sheet(std::nullopt, L"a.css");
    untitled.sheet(std::nullopt, L"b.css");
    BrowserWindow window(library, untitled);
    window.load();
    EXPECT_EQ(openMenu(window), (std::vector<std::wstring>{L"40001 スタイルシートを使う(&U) [x]", L"-",
                                                           L"40003 style属性を使う(&A) [x]", L"-",
                                                           L"40002 (固定シートのみ) [x]", L"-", L"40099 設定(&S)..."}));
}

TEST_F(StyleMenuTest, TitlesBeyondTheirRangeAreLeftOutAndTheLastOneListedWorks) {
    PageBuilder page;
    page.skeleton().filler(4);
    for (int i = 1; i <= 120; ++i) page.sheet(L"Title " + std::to_wstring(i), L"s.css", i != 1);
    BrowserWindow window(library, page);
    window.load();
    const auto items = openMenu(window);
    ASSERT_EQ(items.size(), 4u + 99u + 2u);
    EXPECT_EQ(items[4 + 98], L"40199 Title 99");
    EXPECT_EQ(items[4 + 99], L"-");

    // From the bottom: past the settings item and its separator to the last title.
    openMenu(window, [](ModalScript& s, HMENU) {
        for (UINT key : {VK_UP, VK_UP, VK_RETURN}) pressMenuKey(s, key);
    });
    const std::string states = sheetStates(page.doc());
    EXPECT_EQ(states.find('E'), 98u);
    EXPECT_EQ(states.rfind('E'), 98u) << "only Title 99 is on";
}

TEST_F(StyleMenuTest, ControlHeldAtOpeningTurnsTheSheetsOnFirst) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    clickFace(window);
    ASSERT_EQ(sheetStates(page.doc()), "DDD");

    INPUT control[2] = {};
    control[0].type = control[1].type = INPUT_KEYBOARD;
    control[0].ki.wVk = control[1].ki.wVk = VK_CONTROL;
    control[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &control[0], sizeof(INPUT));
    const auto items = openMenu(window);
    SendInput(1, &control[1], sizeof(INPUT));
    pumpMessages();
    EXPECT_EQ(items[0], L"40001 スタイルシートを使う(&U) [x]");
    EXPECT_EQ(sheetStates(page.doc()), "EED");
}

TEST_F(StyleMenuTest, TheMenuShowsTheTopDocumentsChoiceWhateverItsFramesHave) {
    storeAddedSheet(L"Mine", L"C:\\mine.css");
    storePreferred(L"http://example.test/docs/", L"Mine");
    PageBuilder page(L"http://example.test/docs/index.html");
    styledPage(page);
    PageBuilder& ads = page.frame(L"http://example.test/ads/banner.html");
    ads.skeleton().filler(2);
    ads.sheet(L"Blue", L"blue.css");
    BrowserWindow window(library, page);
    window.load();
    ASSERT_EQ(sheetStates(page.doc()), "EDDE") << "fixed, Blue, Red, Mine";
    ASSERT_EQ(sheetStates(ads.doc()), "ED") << "Blue, Mine";
    EXPECT_EQ(openMenu(window)[7], L"40201 Mine [x]");

    clickFace(window);
    clickFace(window);
    EXPECT_EQ(sheetStates(page.doc()), "EDDE");
    EXPECT_EQ(sheetStates(ads.doc()), "ED");
}

TEST_F(StyleMenuTest, ALaterCompletionWhileAllIsOffKeepsItOffAndOneClickBringsItAllBack) {
    for (bool byFrame : {false, true}) {
        SCOPED_TRACE(byFrame ? "an iframe loads" : "the top document completes again");
        PageBuilder page;
        styledPage(page);
        ElementDouble& styled = page.element(L"p").css(L"left: 10px");
        BrowserWindow window(library, page);
        window.load();
        clickFace(window);
        ASSERT_EQ(sheetStates(page.doc()), "DDD");
        ASSERT_EQ(styled.cssText(), L"");

        ElementDouble* framed = nullptr;
        PageBuilder* ad = nullptr;
        if (byFrame) {
            ad = &page.frame(L"http://example.test/ad.html");
            ad->skeleton().filler(2);
            ad->sheet(L"Ad", L"ad.css");
            framed = &ad->element(L"p").css(L"margin: 0");
            window.loadFrame(*ad);
            EXPECT_EQ(sheetStates(ad->doc()), "D") << "the frame joins the page as it is";
            EXPECT_EQ(framed->cssText(), L"");
        } else {
            window.download(READYSTATE_INTERACTIVE);
        }
        EXPECT_EQ(tooltip(window.toolbar(), kStyleId), L"スタイルシートを使う");
        const auto items = openMenu(window);
        EXPECT_EQ(items[0], L"40001 スタイルシートを使う(&U)");
        EXPECT_EQ(items[2], L"40003 style属性を使う(&A)");
        EXPECT_EQ(items[4], L"40101 Blue [x]");
        EXPECT_EQ(sheetStates(page.doc()), "DDD");

        clickFace(window);
        EXPECT_EQ(sheetStates(page.doc()), "EED");
        EXPECT_EQ(styled.cssText(), L"left: 10px");
        if (!byFrame) continue;
        EXPECT_EQ(sheetStates(ad->doc()), "E");
        EXPECT_EQ(framed->cssText(), L"margin: 0");
    }
}

TEST_F(StyleMenuTest, ATitleChosenWhileThePageCompletesIsApplied) {
    for (bool byFrame : {false, true}) {
        SCOPED_TRACE(byFrame ? "an iframe loads" : "the last download ends");
        PageBuilder page;
        styledPage(page);
        BrowserWindow window(library, page);
        window.load();
        openMenu(window, [&](ModalScript& s, HMENU menu) {
            if (byFrame)
                window.loadFrame(page.frame(L"http://example.test/ad.html").skeleton().filler(2));
            else
                window.download(READYSTATE_INTERACTIVE);
            chooseItem(s, menu, 40102);
        });
        EXPECT_EQ(sheetStates(page.doc()), "EDE") << "fixed, Blue, Red";
    }
}

TEST_F(StyleMenuTest, AfterANavigationThatBringsNoDocumentTheShownPageIsTheOneServed) {
    storeAddedSheet(L"Mine", L"C:\\mine.css");
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    const auto mailto = [&] { window.browser->fireBeforeNavigate2(window.browser.get(), L"mailto:someone@example.test"); };

    mailto();
    PageBuilder& ad = page.frame(L"http://example.test/ad.html");
    ad.skeleton().filler(2);
    ad.sheet(L"Ad", L"ad.css");
    window.loadFrame(ad);
    EXPECT_EQ(ad.doc().createdSheets().size(), 1u);
    EXPECT_EQ(openMenu(window)[6], L"40103 Ad [x]") << "the frame is listed";

    mailto();
    PageBuilder reloaded;  // F5: a new document, and only the end of its download reported
    styledPage(reloaded);
    window.browser->setDocument(reloaded.document());
    window.download(READYSTATE_INTERACTIVE);
    EXPECT_EQ(reloaded.doc().createdSheets().size(), 1u) << "the new document gets the added sheet";
    clickFace(window);
    EXPECT_EQ(sheetStates(reloaded.doc()), "DDDD");
    EXPECT_EQ(sheetStates(page.doc()), "EEDD") << "the old document is left alone";
}

TEST_F(StyleMenuTest, SettingsSheetSavesAndReloadsThePageOnlyAfterAnEdit) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    window.load();
    enum class Close { untouched, editedThenCancelled, editedThenOk };
    auto throughSheet = [&](Close how) {
        openMenu(window, [&](ModalScript& s, HMENU menu) {
            chooseItem(s, menu, kSettings);
            HWND sheet = s.waitForDialog(kSheetCaption);
            ASSERT_TRUE(sheet) << "the sheet did not open";
            EXPECT_EQ(GetWindow(sheet, GW_OWNER), GetAncestor(window.toolbar(), GA_ROOT));
            if (how != Close::untouched) setHotKey(selectTab(sheet, 2), IDC_STYLEETC_SHEET_SHORTCUT, 0x0746);
            EXPECT_TRUE(click(sheet, how == Close::editedThenOk ? IDOK : IDCANCEL));
            s.waitUntilGone(sheet);
        });
    };
    throughSheet(Close::untouched);
    EXPECT_TRUE(window.browser->refreshLevels().empty()) << "nothing edited, nothing reloaded";

    throughSheet(Close::editedThenCancelled);
    EXPECT_EQ(window.browser->refreshLevels(), std::vector<LONG>{REFRESH_COMPLETELY}) << "an edit still counts";
    SettingsStore saved;
    saved.loadAll();
    EXPECT_EQ(saved.Etc.UseSheetShortcut, 0x025A) << "what was not applied is not saved";

    throughSheet(Close::editedThenOk);
    EXPECT_EQ(window.browser->refreshLevels().size(), 2u);
    saved.loadAll();
    EXPECT_EQ(saved.Etc.UseSheetShortcut, 0x0746);
}

}  // namespace
