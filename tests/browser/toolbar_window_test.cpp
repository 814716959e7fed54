// The toolbar in a browser window of the doubles: its control and buttons, tooltips, the
// customize protocol and the saved layout, clicks on the button faces, status-bar help texts.

#include <gtest/gtest.h>

#include "browser/browser_window.h"
#include "browser/custom_messages.h"
#include "common/reg_key.h"
#include "settings/settings_store.h"
#include "support/menu_driver.h"

using namespace quorin;
using namespace quorin::test;

namespace {

constexpr int kStyleId = 40001;
constexpr int kLinkId = 50001;

// A mouse click on the button: its face, or its drop-down arrow.
void click(HWND toolbar, int commandId, bool arrow = false) {
    RECT rect{};
    SendMessageW(toolbar, TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM(arrow ? rect.right - 3 : rect.left + 4, (rect.top + rect.bottom) / 2);
    PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(toolbar, WM_LBUTTONUP, 0, point);
    pumpMessages();
}

LRESULT notify(HWND window, HWND from, UINT code, NMHDR* header, UINT_PTR id = 0) {
    header->hwndFrom = from;
    header->idFrom = id;
    header->code = code;
    return SendMessageW(window, WM_NOTIFY, id, reinterpret_cast<LPARAM>(header));
}

std::wstring statusText(HWND statusBar) {
    wchar_t text[256] = {};
    SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

class ToolbarWindowTest : public BrowserWindowTest {};

TEST_F(ToolbarWindowTest, TheBandHoldsATransparentToolbarWithTwoDropDownButtons) {
    PageBuilder page;
    BrowserWindow window(library, page);
    ASSERT_EQ(window.sited, S_OK);
    HWND toolbar = window.toolbar();
    ASSERT_TRUE(IsWindow(toolbar));
    const LONG_PTR style = GetWindowLongPtrW(toolbar, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    const LONG_PTR bits[] = {TBSTYLE_TRANSPARENT, TBSTYLE_FLAT, TBSTYLE_TOOLTIPS, CCS_ADJUSTABLE, CCS_NODIVIDER};
    for (LONG_PTR bit : bits) EXPECT_TRUE(style & bit) << std::hex << bit;
    EXPECT_TRUE(SendMessageW(toolbar, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS);

    const struct {
        int image, command;
    } expected[] = {{0, kStyleId}, {1, kLinkId}};
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 2);
    for (int i = 0; i < 2; ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.iBitmap, expected[i].image);
        EXPECT_EQ(button.idCommand, expected[i].command);
        EXPECT_EQ(button.fsState, TBSTATE_ENABLED);
        EXPECT_EQ(button.fsStyle, BTNS_DROPDOWN);
        HWND buttonWindow = window.buttonWindow(i);
        ASSERT_TRUE(IsWindow(buttonWindow));
        EXPECT_FALSE(IsWindowEnabled(buttonWindow));
    }
    for (UINT list : {TB_GETIMAGELIST, TB_GETHOTIMAGELIST}) {
        auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, list, 0, 0));
        int width = 0, height = 0;
        ASSERT_TRUE(ImageList_GetIconSize(images, &width, &height));
        EXPECT_EQ(ImageList_GetImageCount(images), 2);
        EXPECT_EQ(width, 16);
        EXPECT_EQ(height, 16);
    }

    SendMessageW(window.messageWindow(), UM_DISABLE_TOOLBAR, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(toolbar));
    SendMessageW(window.messageWindow(), UM_ENABLE_TOOLBAR, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(toolbar));
}

TEST_F(ToolbarWindowTest, TooltipsTellWhatTheButtonsDo) {
    PageBuilder bare;
    BrowserWindow window(library, bare);
    EXPECT_EQ(tooltip(window.toolbar(), kStyleId), L"スタイルシートがありません");
    EXPECT_EQ(tooltip(window.toolbar(), kLinkId), L"手動巡回");
    PageBuilder page;
    styledPage(page);
    window.browser->setDocument(page.document());
    EXPECT_EQ(tooltip(window.toolbar(), kStyleId), L"スタイルシートがありません") << "the list is not read again";
    window.load();
    EXPECT_EQ(tooltip(window.toolbar(), kStyleId), L"スタイルシートを使わない");
    click(window.toolbar(), kStyleId);
    EXPECT_EQ(tooltip(window.toolbar(), kStyleId), L"スタイルシートを使う");
}

TEST_F(ToolbarWindowTest, AHelperAttachingToAShownPageRebuildsTheListForTheFirstTooltip) {
    PageBuilder page;
    styledPage(page);
    BrowserWindow window(library, page);
    EXPECT_EQ(tooltip(window.toolbar(), kStyleId), L"スタイルシートを使わない");
    click(window.toolbar(), kStyleId);
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "the click waits for a completed document";
}

TEST_F(ToolbarWindowTest, ClicksOnTheFacesToggleSheetsAndCruise) {
    PageBuilder page(L"http://server/a.html");
    styledPage(page);
    page.link(L"next", L"b.html", L"B");
    BrowserWindow window(library, page);
    click(window.toolbar(), kStyleId);
    click(window.toolbar(), kLinkId);
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "nothing happens before a document completed";
    EXPECT_TRUE(page.doc().location()->navigations().empty());

    window.load();
    click(window.toolbar(), kStyleId);
    EXPECT_EQ(sheetStates(page.doc()), "DDD");
    click(window.toolbar(), kStyleId);
    EXPECT_EQ(sheetStates(page.doc()), "EED");
    click(window.toolbar(), kLinkId);
    EXPECT_EQ(page.doc().location()->navigations(), std::vector<std::wstring>{L"http://server/b.html"});

    // The arrow opens the style menu, which is closed again unused.
    ModalScript script;
    EXPECT_TRUE(script.run([&] { click(window.toolbar(), kStyleId, true); },
                           [](ModalScript& s) {
                               EXPECT_TRUE(waitForPopup(s)) << "the arrow opens the menu";
                               closeMenus(s);
                           }));
    EXPECT_EQ(sheetStates(page.doc()), "EED") << "the arrow is not the face";
    NMTOOLBARW dropDown{};
    dropDown.iItem = 12345;
    EXPECT_EQ(notify(window.messageWindow(), window.toolbar(), TBN_DROPDOWN, &dropDown.hdr), TBDDRET_NODEFAULT);
}

TEST_F(ToolbarWindowTest, ABareDocumentIsNotWorkedOn) {
    PageBuilder page(L"http://server/a.html");
    page.skeleton().filler(1).sheet(L"Blue");
    BrowserWindow window(library, page);
    window.load();
    click(window.toolbar(), kStyleId);
    EXPECT_EQ(sheetStates(page.doc()), "E") << "five elements are not content";

    page.filler(1);
    SendMessageW(window.messageWindow(), UM_TOP_DOCUMENT_COMPLETE, 0, 0);
    click(window.toolbar(), kStyleId);
    EXPECT_EQ(sheetStates(page.doc()), "D") << "six are; without a browser the band's own is asked";
}

TEST_F(ToolbarWindowTest, CustomizingKeepsTwoButtonsAndTheLayoutSurvivesANewBand) {
    PageBuilder page;
    {
        BrowserWindow window(library, page);
        HWND toolbar = window.toolbar();
        HWND messages = window.messageWindow();
        NMHDR header{};
        EXPECT_EQ(notify(messages, toolbar, TBN_INITCUSTOMIZE, &header), TBNRF_HIDEHELP);
        EXPECT_EQ(notify(messages, toolbar, TBN_QUERYDELETE, &header), TRUE);
        EXPECT_EQ(notify(messages, toolbar, TBN_QUERYINSERT, &header), TRUE);
        const wchar_t* texts[] = {L"スタイル", L"リンク"};
        for (int item = 0; item < 3; ++item) {
            wchar_t text[40] = L"x";
            NMTOOLBARW info{};
            info.iItem = item;
            info.pszText = text;
            info.cchText = 40;
            EXPECT_EQ(notify(messages, toolbar, TBN_GETBUTTONINFOW, &info.hdr), item < 2 ? 1 : 0);
            if (item == 2) break;
            EXPECT_STREQ(text, texts[item]);
            EXPECT_EQ(info.tbButton.idCommand, item ? kLinkId : kStyleId);
        }

        // The user takes the link button out in the customize dialog.
        SendMessageW(toolbar, TB_DELETEBUTTON, 1, 0);
        notify(messages, toolbar, TBN_TOOLBARCHANGE, &header);
    }
    RegKey root;
    ASSERT_TRUE(root.open(HKEY_CURRENT_USER, kRootKeyPath, KEY_READ));
    EXPECT_EQ(RegQueryValueExW(root.get(), L"Toolbar", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

    BrowserWindow window(library, page);
    EXPECT_EQ(buttons(window.toolbar()), std::vector<int>{kStyleId}) << "restored from the saved layout";
    NMHDR header{};
    notify(window.messageWindow(), window.toolbar(), TBN_RESET, &header);
    EXPECT_EQ(buttons(window.toolbar()), (std::vector<int>{kStyleId, kLinkId}));
    BrowserWindow another(library, page);
    EXPECT_EQ(buttons(another.toolbar()), (std::vector<int>{kStyleId, kLinkId})) << "the reset was saved";
}

TEST_F(ToolbarWindowTest, HighlightedMenuItemsShowTheirHelpInTheStatusBar) {
    PageBuilder page;
    BrowserWindow window(library, page);
    window.load();
    HWND status = window.frame.statusBar();
    HWND owner = window.buttonWindow(0);
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(40003, MF_STRING), 0);
    EXPECT_EQ(statusText(status), L"style属性の使用/不使用を切り替えます。");
    SendMessageW(window.buttonWindow(1), WM_MENUSELECT, MAKEWPARAM(50099, MF_STRING), 0);
    EXPECT_EQ(statusText(status), L"リンクの追加や手動巡回などを設定します。");
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(40003, MF_POPUP), 0);
    EXPECT_EQ(statusText(status), L"") << "a submenu holder has no help";
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(40001, MF_STRING), 0);
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(statusText(status), L"") << "the closing menu clears it";
}

TEST_F(ToolbarWindowTest, AFreshProfileGetsTheLinkDefaultsAndNewerSettingsSurvive) {
    PageBuilder page;
    auto older = std::make_unique<BrowserWindow>(library, page);
    for (const wchar_t* group : {L"LinkType", L"LinkCruise"}) {
        RegKey key;
        EXPECT_TRUE(key.open(HKEY_CURRENT_USER, (std::wstring(kRootKeyPath) + L"\\" + group).c_str(), KEY_READ))
            << "written at once: " << group;
    }
    SettingsStore newer;
    newer.loadAll();
    newer.Etc.UseSheetShortcut = 0x0241;
    newer.LinkEtc.EnumNonLink = true;
    newer.saveAll();
    older.reset();
    SettingsStore after;
    after.loadAll();
    EXPECT_EQ(after.Etc.UseSheetShortcut, 0x0241) << "an older window's settings must not overwrite it";
    EXPECT_TRUE(after.LinkEtc.EnumNonLink);
}

}  // namespace
