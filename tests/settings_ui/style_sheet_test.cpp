// The style sheet's own pages: shortcuts and flags, and the titles the Prefer dialog offers.
#include "settings_ui_fixture.h"

#include <commctrl.h>

#include "settings_ui/style_settings_sheet.h"
#include "settings_ui_resource.h"

namespace quorin::test {
namespace {

using StyleSheet = SettingsUiTest;

LRESULT hotKey(HWND page, int id) { return SendDlgItemMessageW(page, id, HKM_GETHOTKEY, 0, 0); }

TEST_F(StyleSheet, ShortcutsAndFlagsAreShownEditedAndAClickBackStillCounts) {
    store.loadAll();
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        HWND page = selectTab(sheet, 2);
        EXPECT_EQ(hotKey(page, IDC_STYLEETC_SHEET_SHORTCUT), 0x025A);
        EXPECT_EQ(hotKey(page, IDC_STYLEETC_ATTR_SHORTCUT), 0x0251);
        EXPECT_TRUE(isChecked(page, IDC_STYLEETC_SYNC_USE));
        EXPECT_TRUE(isChecked(page, IDC_STYLEETC_FRAME_AWARE));
        EXPECT_FALSE(isEnabled(sheet, kApplyButton)) << "filling the page is no edit";
        EXPECT_TRUE(click(page, IDC_STYLEETC_SYNC_USE));
        EXPECT_TRUE(click(page, IDC_STYLEETC_SYNC_USE));
        EXPECT_TRUE(isEnabled(sheet, kApplyButton));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    EXPECT_TRUE(store.Etc.SyncUse);

    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        HWND page = selectTab(sheet, 2);
        setHotKey(page, IDC_STYLEETC_SHEET_SHORTCUT, 0x0746);
        setHotKey(page, IDC_STYLEETC_ATTR_SHORTCUT, 0);
        EXPECT_TRUE(click(page, IDC_STYLEETC_FRAME_AWARE));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    SettingsStore reloaded;
    reloaded.loadAll();
    EXPECT_EQ(reloaded.Etc.UseSheetShortcut, 0x0746);
    EXPECT_EQ(reloaded.Etc.UseAttrShortcut, 0);
    EXPECT_TRUE(reloaded.Etc.SyncUse);
    EXPECT_FALSE(reloaded.Etc.FrameAware);
}

// The hot-key control clears its key on Delete and Backspace without the EN_CHANGE it sends for
// other keys; and whatever a control tells, what it holds at OK is what is saved.
TEST_F(StyleSheet, ShortcutsClearedFromTheKeyboardOrChangedSilentlyAreEditsThatAreSaved) {
    store.loadAll();
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript& s, HWND sheet) {
        HWND page = selectTab(sheet, 2);
        focusControl(page, IDC_STYLEETC_SHEET_SHORTCUT);
        typeKey(s, VK_DELETE);
        EXPECT_EQ(hotKey(page, IDC_STYLEETC_SHEET_SHORTCUT), 0);
        EXPECT_TRUE(isEnabled(sheet, kApplyButton)) << "clearing is an edit";
        focusControl(page, IDC_STYLEETC_ATTR_SHORTCUT);
        typeKey(s, VK_BACK);
        EXPECT_EQ(hotKey(page, IDC_STYLEETC_ATTR_SHORTCUT), 0);
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    SettingsStore reloaded;
    reloaded.loadAll();
    EXPECT_EQ(reloaded.Etc.UseSheetShortcut, 0);
    EXPECT_EQ(reloaded.Etc.UseAttrShortcut, 0);

    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript&, HWND sheet) {
        HWND page = selectTab(sheet, 2);
        SendDlgItemMessageW(page, IDC_STYLEETC_ATTR_SHORTCUT, HKM_SETHOTKEY, 0x0746, 0);
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    reloaded.loadAll();
    EXPECT_EQ(reloaded.Etc.UseAttrShortcut, 0x0746);
}

TEST_F(StyleSheet, PreferDialogOffersTheStoredAddedSheetsNotTheUnappliedOnes) {
    store.AddSheet = {addSheet(L"Dark", L"dark.css")};
    store.page.currentUrl = SharedString(L"http://example.test/");
    SheetEntry blue;
    blue.title = SharedString(L"Blue");
    store.page.sheetTitles = {blue};
    openSheet<StyleSettingsSheet>(kStyleCaption, [](ModalScript& s, HWND sheet) {
        HWND dialog = openEntryDialog(s, currentPage(sheet), IDC_ADDSHEET_ADD, L"追加シート");
        ASSERT_TRUE(dialog);
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_TITLE), L"New");
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_PATH), L"new.css");
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));

        HWND page = selectTab(sheet, 1);
        dialog = openEntryDialog(s, page, IDC_PREFER_ADD, L"優先固定");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(comboItems(GetDlgItem(dialog, IDC_PREFER_TITLE)), (std::vector<std::wstring>{L"Blue", L"Dark"}));
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_EQ(rows(GetDlgItem(page, IDC_PREFER_LIST)),
                  (std::vector<std::vector<std::wstring>>{{L"Blue", L"http://example.test/"}}));

        EXPECT_TRUE(click(sheet, kApplyButton));
        dialog = openEntryDialog(s, page, IDC_PREFER_ADD, L"優先固定");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(comboItems(GetDlgItem(dialog, IDC_PREFER_TITLE)),
                  (std::vector<std::wstring>{L"Blue", L"Dark", L"New"}));
        EXPECT_TRUE(click(dialog, IDCANCEL));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    ASSERT_EQ(store.Prefer.size(), 1u);
    EXPECT_STREQ(store.Prefer[0].Title.c_str(), L"Blue");
    EXPECT_STREQ(store.Prefer[0].URI.c_str(), L"http://example.test/");
}

}  // namespace
}  // namespace quorin::test
