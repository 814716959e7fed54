// The link sheet's pages: link-type rows, the cruise and its shortcut, enumeration limits.
#include "settings_ui_fixture.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "settings_ui/link_settings_sheet.h"
#include "settings_ui_resource.h"

namespace quorin::test {
namespace {

using LinkSheet = SettingsUiTest;
using Rows = std::vector<std::vector<std::wstring>>;

TEST_F(LinkSheet, LinkTypeRowsShowSeparatorsAndKeepAnUnknownAttributeThroughMovesAndApply) {
    store.LinkType = {linkType(L"次", 0, L"Next", 0x034E), linkType(L"作者", 1, L"Made", 0x02C0),
                      linkType(L"", -1, L"", 0, 99), linkType(L"Odd", 5, L"odd", 0x0774)};
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript& s, HWND sheet) {
        HWND page = currentPage(sheet);
        HWND list = GetDlgItem(page, IDC_LINKTYPE_LIST);
        EXPECT_EQ(rows(list), (Rows{{L"次", L"rel", L"Next", L"C + S + N"},
                                    {L"作者", L"rev", L"Made", L"C + @"},
                                    {L"---", L"", L"", L""},
                                    {L"Odd", L"???", L"odd", L"C + S + A + F5"}}));
        clickRow(list, 3);
        EXPECT_TRUE(click(page, IDC_LINKTYPE_UP));
        EXPECT_EQ(rows(list)[2], (std::vector<std::wstring>{L"Odd", L"???", L"odd", L"C + S + A + F5"}));
        EXPECT_TRUE(click(page, IDC_LINKTYPE_DOWN));
        EXPECT_TRUE(click(sheet, kApplyButton));

        clickRow(list, 2);
        HWND dialog = openEntryDialog(s, page, IDC_LINKTYPE_EDIT, L"リンク形式");
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(isChecked(dialog, IDC_LINKTYPE_IS_SEPARATOR));
        EXPECT_FALSE(isEnabled(dialog, IDC_LINKTYPE_TITLE));
        EXPECT_TRUE(click(dialog, IDCANCEL));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
    ASSERT_EQ(store.LinkType.size(), 4u);
    EXPECT_EQ(store.LinkType[3].Which, 5);
    EXPECT_EQ(store.LinkType[2].Submenu, 99);
}

TEST_F(LinkSheet, ChangingOnlyTheCruiseShortcutIsAnEditThatIsSaved) {
    store.loadAll();
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        HWND page = selectTab(sheet, 1);
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_CRUISE_SHORTCUT, HKM_GETHOTKEY, 0, 0), 0x0255);
        EXPECT_EQ(rowCount(GetDlgItem(page, IDC_CRUISE_LIST)), 5);
        EXPECT_FALSE(isEnabled(sheet, kApplyButton));
        setHotKey(page, IDC_CRUISE_SHORTCUT, 0x0241);
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    SettingsStore reloaded;
    reloaded.loadAll();
    EXPECT_EQ(reloaded.CruiseShortcut, 0x0241);
    EXPECT_EQ(reloaded.LinkCruise.size(), 5u);
}

TEST_F(LinkSheet, ACruiseShortcutClearedFromTheKeyboardIsSavedAtOnceNotAtCloseOverAnotherWindow) {
    store.loadAll();
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript& s, HWND sheet) {
        HWND page = selectTab(sheet, 1);
        focusControl(page, IDC_CRUISE_SHORTCUT);
        typeKey(s, VK_BACK);
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_CRUISE_SHORTCUT, HKM_GETHOTKEY, 0, 0), 0);
        EXPECT_TRUE(isEnabled(sheet, kApplyButton)) << "clearing is an edit";
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    {
        SettingsStore other;  // another window saves its own cruise order meanwhile
        other.loadAll();
        EXPECT_EQ(other.CruiseShortcut, 0);
        other.LinkCruise.resize(1);
        ASSERT_TRUE(other.saveAll());
    }
    store.saveChanged();  // as this window closes
    SettingsStore check;
    check.loadAll();
    EXPECT_EQ(check.LinkCruise.size(), 1u) << "the other window's order stays";
    EXPECT_EQ(check.CruiseShortcut, 0);
}

TEST_F(LinkSheet, TheCruiseDialogOffersLinkTypesOnlyOnceTheyAreApplied) {
    store.LinkType = {linkType(L"次", 0, L"Next")};
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript& s, HWND sheet) {
        HWND dialog = openEntryDialog(s, currentPage(sheet), IDC_LINKTYPE_ADD, L"リンク形式");
        ASSERT_TRUE(dialog);
        typeText(GetDlgItem(dialog, IDC_LINKTYPE_TITLE), L"新");
        typeText(GetDlgItem(dialog, IDC_LINKTYPE_ATTR), L"new");
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));

        HWND cruisePage = selectTab(sheet, 1);
        dialog = openEntryDialog(s, cruisePage, IDC_CRUISE_ADD, L"手動巡回エントリ");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(comboItems(GetDlgItem(dialog, IDC_CRUISE_TITLE)), std::vector<std::wstring>{L"次"});
        pressKey(dialog, VK_ESCAPE);
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_TRUE(click(sheet, kApplyButton));
        dialog = openEntryDialog(s, cruisePage, IDC_CRUISE_ADD, L"手動巡回エントリ");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(comboItems(GetDlgItem(dialog, IDC_CRUISE_TITLE)), (std::vector<std::wstring>{L"次", L"新"}));
        selectComboItem(dialog, IDC_CRUISE_TITLE, 1);
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_EQ(rows(GetDlgItem(cruisePage, IDC_CRUISE_LIST)), Rows{{L"新"}});
        EXPECT_TRUE(click(sheet, IDOK));
    });
    ASSERT_EQ(store.LinkCruise.size(), 1u);
    EXPECT_STREQ(store.LinkCruise[0].Title.c_str(), L"新");
    ASSERT_EQ(store.LinkType.size(), 2u);
    EXPECT_EQ(store.LinkType[1].Which, 0);
    EXPECT_EQ(store.LinkType[1].Submenu, 2);
}

// The two rows the README shows for sites without rel links, added as a user adds them.
TEST_F(LinkSheet, LinkWordsRowsAreAddedThroughTheDialogAndComeBackFromTheRegistry) {
    const wchar_t* const nextWords = L"次へ|次のページ|次|Next|Next page|»";
    const wchar_t* const prevWords = L"前へ|前のページ|前|戻る|Previous|Prev|«";
    store.loadAll();
    openSheet<LinkSettingsSheet>(kLinkCaption, [&](ModalScript& s, HWND sheet) {
        HWND page = currentPage(sheet);
        for (const auto& [title, words] : {std::pair{L"次(文字)", nextWords}, std::pair{L"前(文字)", prevWords}}) {
            HWND dialog = openEntryDialog(s, page, IDC_LINKTYPE_ADD, L"リンク形式");
            ASSERT_TRUE(dialog);
            EXPECT_EQ(comboItems(GetDlgItem(dialog, IDC_LINKTYPE_WHICH)),
                      (std::vector<std::wstring>{L"rel", L"rev", L"リンク文字列"}));
            typeText(GetDlgItem(dialog, IDC_LINKTYPE_TITLE), title);
            selectComboItem(dialog, IDC_LINKTYPE_WHICH, 2);
            typeText(GetDlgItem(dialog, IDC_LINKTYPE_ATTR), words);
            EXPECT_TRUE(click(dialog, IDOK));
            ASSERT_TRUE(s.waitUntilGone(dialog));
        }
        HWND list = GetDlgItem(page, IDC_LINKTYPE_LIST);
        EXPECT_EQ(rows(list).back(), (std::vector<std::wstring>{L"前(文字)", L"リンク文字列", prevWords, L""}));
        EXPECT_GE(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0),
                  SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"リンク文字列")))
            << "the columns are sized again for the new row";
        EXPECT_TRUE(click(sheet, kApplyButton));

        HWND cruisePage = selectTab(sheet, 1);
        HWND dialog = openEntryDialog(s, cruisePage, IDC_CRUISE_ADD, L"手動巡回エントリ");
        ASSERT_TRUE(dialog);
        selectComboItem(dialog, IDC_CRUISE_TITLE, 7);
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        HWND cruiseList = GetDlgItem(cruisePage, IDC_CRUISE_LIST);
        clickRow(cruiseList, 5);
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(click(cruisePage, IDC_CRUISE_UP));
        EXPECT_EQ(rows(cruiseList), (Rows{{L"次"}, {L"次(文字)"}, {L"1つ上"}, {L"目次"}, {L"索引"}, {L"先頭"}}));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    DWORD stored = 0, size = sizeof stored;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kRootKeyPath) + L"\\LinkType").c_str(), L"Which8",
                           RRF_RT_REG_DWORD, nullptr, &stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(stored, 2u);

    store.loadAll();
    ASSERT_EQ(store.LinkType.size(), 9u);
    EXPECT_EQ(store.LinkType[7].Which, kWhichWords);
    EXPECT_STREQ(store.LinkType[7].Attr.c_str(), nextWords);
    EXPECT_STREQ(store.LinkCruise[1].Title.c_str(), L"次(文字)");
    openSheet<LinkSettingsSheet>(kLinkCaption, [&](ModalScript& s, HWND sheet) {
        HWND page = currentPage(sheet);
        HWND list = GetDlgItem(page, IDC_LINKTYPE_LIST);
        EXPECT_EQ(rows(list)[7], (std::vector<std::wstring>{L"次(文字)", L"リンク文字列", nextWords, L""}));
        clickRow(list, 7);
        HWND dialog = openEntryDialog(s, page, IDC_LINKTYPE_EDIT, L"リンク形式");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_LINKTYPE_WHICH)), L"リンク文字列");
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_EQ(store.LinkType[7].Which, kWhichWords) << "an unchanged edit keeps the choice";
}

TEST_F(LinkSheet, LimitsTakeThreeDigitsKeepTheirLastPositionAndStayInRange) {
    store.LinkEtc.MaxEtcNum = 5;
    store.LinkEtc.MaxUnRelNum = 100000;  // a 16-bit position would make this 0
    store.LinkEtc.MaxNonLinkNum = -5;
    store.LinkEtc.EnumNonLink = true;
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        HWND page = selectTab(sheet, 2);
        EXPECT_EQ(textOf(GetDlgItem(page, IDC_LINKETC_ETC_EDIT)), L"5");
        EXPECT_EQ(textOf(GetDlgItem(page, IDC_LINKETC_UNREL_EDIT)), L"999");
        EXPECT_EQ(textOf(GetDlgItem(page, IDC_LINKETC_NONLINK_EDIT)), L"0");
        EXPECT_FALSE(isEnabled(sheet, kApplyButton));
        typeText(GetDlgItem(page, IDC_LINKETC_NONLINK_EDIT), L"4x2");
        EXPECT_EQ(textOf(GetDlgItem(page, IDC_LINKETC_NONLINK_EDIT)), L"42");
        typeText(GetDlgItem(page, IDC_LINKETC_UNREL_EDIT), L"12345");
        EXPECT_EQ(textOf(GetDlgItem(page, IDC_LINKETC_UNREL_EDIT)), L"123");
        typeText(GetDlgItem(page, IDC_LINKETC_ETC_EDIT), L"");
        EXPECT_TRUE(isEnabled(sheet, kApplyButton));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_EQ(store.LinkEtc.MaxEtcNum, 5);
    EXPECT_EQ(store.LinkEtc.MaxUnRelNum, 123);
    EXPECT_EQ(store.LinkEtc.MaxNonLinkNum, 42);

    store.LinkEtc.MaxUnRelNum = 100000;
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        selectTab(sheet, 2);
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_EQ(store.LinkEtc.MaxUnRelNum, 999);
}

TEST_F(LinkSheet, TheNonLinkBoxEnablesItsLimitAndBothClicksAreEdits) {
    openSheet<LinkSettingsSheet>(kLinkCaption, [](ModalScript&, HWND sheet) {
        HWND page = selectTab(sheet, 2);
        EXPECT_FALSE(isEnabled(page, IDC_LINKETC_NONLINK_EDIT));
        EXPECT_FALSE(isEnabled(page, IDC_LINKETC_NONLINK_SPIN));
        EXPECT_TRUE(click(page, IDC_LINKETC_ENUM_NONLINK));
        EXPECT_TRUE(isEnabled(page, IDC_LINKETC_NONLINK_EDIT));
        EXPECT_TRUE(isEnabled(page, IDC_LINKETC_NONLINK_SPIN));
        EXPECT_TRUE(isEnabled(sheet, kApplyButton));
        EXPECT_TRUE(click(sheet, kApplyButton));
        EXPECT_TRUE(click(page, IDC_LINKETC_ENUM_NONLINK));
        EXPECT_FALSE(isEnabled(page, IDC_LINKETC_NONLINK_EDIT));
        EXPECT_TRUE(isEnabled(sheet, kApplyButton));
        EXPECT_TRUE(click(page, IDC_LINKETC_GROUP_SAME_SITE));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    EXPECT_FALSE(store.LinkEtc.EnumNonLink);
    EXPECT_TRUE(store.LinkEtc.GroupSameSite);
    EXPECT_EQ(store.LinkEtc.MaxNonLinkNum, 999);
}

}  // namespace
}  // namespace quorin::test
