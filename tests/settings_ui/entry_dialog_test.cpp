// The four entry dialogs on their own: OK enabling, Enter and Escape, cut texts, offered titles,
// the file chooser, link types and separators.
#include "settings_ui_fixture.h"

#include <commctrl.h>
#include <dlgs.h>

#include "settings_ui/add_sheet_entry_dialog.h"
#include "settings_ui/cruise_entry_dialog.h"
#include "settings_ui/link_type_entry_dialog.h"
#include "settings_ui/prefer_entry_dialog.h"
#include "settings_ui_resource.h"
#include "support/ui_automation.h"

namespace quorin::test {
namespace {

constexpr wchar_t kAddSheetCaption[] = L"追加シート";
constexpr wchar_t kPreferCaption[] = L"優先固定";
constexpr wchar_t kLinkTypeCaption[] = L"リンク形式";
constexpr wchar_t kCruiseCaption[] = L"手動巡回エントリ";
constexpr int kLinkFields[] = {IDC_LINKTYPE_TITLE, IDC_LINKTYPE_WHICH, IDC_LINKTYPE_ATTR, IDC_LINKTYPE_SHORTCUT,
                               IDC_LINKTYPE_SUBMENU};

SheetEntry sheetTitle(const wchar_t* title, bool disabled) {
    SheetEntry entry;
    entry.title = SharedString(title);
    entry.disabled = disabled;
    return entry;
}

int selection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

using EntryDialogs = SettingsUiTest;

TEST_F(EntryDialogs, AddSheetOkNeedsBothFieldsAndEnterCannotBypassADisabledOk) {
    AddSheetEntryDialog dialog(nullptr);
    const INT_PTR result = runDialog(dialog, kAddSheetCaption, [](ModalScript& s, HWND window) {
        HWND title = GetDlgItem(window, IDC_ADDSHEET_TITLE);
        EXPECT_FALSE(isEnabled(window, IDOK));
        typeText(title, L"Mine");
        EXPECT_FALSE(isEnabled(window, IDOK));
        pressKey(window, VK_RETURN);
        s.sleep(150);
        // Where the dialog manager finds no enabled default button, Enter arrives as a bare IDOK.
        SendMessageW(window, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindow(window)) << "Enter confirmed an entry without a path";
        typeText(GetDlgItem(window, IDC_ADDSHEET_PATH), L"C:\\mine.css");
        EXPECT_TRUE(isEnabled(window, IDOK));
        typeText(title, L"");
        EXPECT_FALSE(isEnabled(window, IDOK));
        typeText(title, L"Mine");
        pressKey(window, VK_RETURN);
        EXPECT_TRUE(s.waitUntilGone(window));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_STREQ(dialog.entry.Title.c_str(), L"Mine");
    EXPECT_STREQ(dialog.entry.Path.c_str(), L"C:\\mine.css");
}

TEST_F(EntryDialogs, TextsAreCutAtTheStoreCapacities) {
    AddSheetEntryDialog addSheet(nullptr);
    EXPECT_EQ(runDialog(addSheet, kAddSheetCaption,
                        [](ModalScript&, HWND window) {
                            typeText(GetDlgItem(window, IDC_ADDSHEET_TITLE), std::wstring(100, L't'));
                            EXPECT_EQ(textOf(GetDlgItem(window, IDC_ADDSHEET_TITLE)).size(), 79u);
                            // Text set from outside, as a chosen file is, is not held by the typing limit.
                            SetWindowTextW(GetDlgItem(window, IDC_ADDSHEET_PATH), std::wstring(300, L'p').c_str());
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_EQ(addSheet.entry.Title.c_str(), std::wstring(79, L't'));
    EXPECT_EQ(addSheet.entry.Path.c_str(), std::wstring(259, L'p'));

    store.page.sheetTitles = {sheetTitle(std::wstring(200, L'x').c_str(), true)};
    store.page.currentUrl = SharedString(std::wstring(400, L'u').c_str());
    PreferEntryDialog prefer(nullptr, store);
    EXPECT_EQ(runDialog(prefer, kPreferCaption,
                        [](ModalScript&, HWND window) {
                            selectComboItem(window, IDC_PREFER_TITLE, 0);
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_EQ(prefer.entry.Title.c_str(), std::wstring(79, L'x'));
    EXPECT_EQ(prefer.entry.URI.c_str(), std::wstring(259, L'u'));
}

// U+1F600 takes two units; the field's typing limit lets in only the first of them.
TEST_F(EntryDialogs, ACharacterPartedAtTheTypingLimitIsNotKeptHalf) {
    const std::wstring pair = L"\xD83D\xDE00";
    AddSheetEntryDialog addSheet(nullptr);
    EXPECT_EQ(runDialog(addSheet, kAddSheetCaption,
                        [&](ModalScript&, HWND window) {
                            typeText(GetDlgItem(window, IDC_ADDSHEET_TITLE), std::wstring(78, L't') + pair);
                            typeText(GetDlgItem(window, IDC_ADDSHEET_PATH), L"C:\\" + pair + L".css");
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_EQ(addSheet.entry.Title.c_str(), std::wstring(78, L't'));
    EXPECT_EQ(addSheet.entry.Path.c_str(), L"C:\\" + pair + L".css") << "a whole pair stays";
}

TEST_F(EntryDialogs, EscapeCancelsEachDialogAndLeavesTheEntry) {
    store.LinkType = {linkType(L"次", 0, L"Next")};
    const auto escape = [](int edit) {
        return [edit](ModalScript& s, HWND window) {
            typeText(GetDlgItem(window, edit), L"typed");
            pressKey(window, VK_ESCAPE);
            EXPECT_TRUE(s.waitUntilGone(window));
        };
    };
    AddSheetEntryDialog addSheet(nullptr);
    addSheet.entry = quorin::test::addSheet(L"kept", L"kept.css");
    EXPECT_EQ(runDialog(addSheet, kAddSheetCaption, escape(IDC_ADDSHEET_TITLE)), IDCANCEL);
    EXPECT_STREQ(addSheet.entry.Title.c_str(), L"kept");
    PreferEntryDialog preferDialog(nullptr, store);
    preferDialog.entry = prefer(L"kept", L"http://kept/");
    EXPECT_EQ(runDialog(preferDialog, kPreferCaption, escape(IDC_PREFER_URI)), IDCANCEL);
    EXPECT_STREQ(preferDialog.entry.URI.c_str(), L"http://kept/");
    LinkTypeEntryDialog linkTypeDialog(nullptr);
    linkTypeDialog.entry = linkType(L"kept", 1, L"Kept", 0x0241, 1);
    EXPECT_EQ(runDialog(linkTypeDialog, kLinkTypeCaption, escape(IDC_LINKTYPE_ATTR)), IDCANCEL);
    EXPECT_STREQ(linkTypeDialog.entry.Attr.c_str(), L"Kept");
    CruiseEntryDialog cruiseDialog(nullptr, store);
    cruiseDialog.entry = cruise(L"kept");
    EXPECT_EQ(runDialog(cruiseDialog, kCruiseCaption, escape(IDC_CRUISE_TITLE)), IDCANCEL);
    EXPECT_STREQ(cruiseDialog.entry.Title.c_str(), L"kept");
}

TEST_F(EntryDialogs, TheFileChooserStartsEmptyOnTheStylesheetFilterAndFillsThePath) {
    TempFolder folder;
    const std::wstring file = folder.path() + L"chosen.css";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    AddSheetEntryDialog dialog(nullptr);
    dialog.entry = addSheet(L"Title", L"C:\\old.css");
    runDialog(dialog, kAddSheetCaption, [&](ModalScript& s, HWND window) {
        ASSERT_TRUE(clickLater(window, IDC_ADDSHEET_BROWSE));
        HWND chooser = s.waitForOtherDialog({window});
        ASSERT_TRUE(chooser);
        EXPECT_EQ(textOf(GetDlgItem(chooser, cmb1)), L"スタイルシート (*.css)");
        HWND name = GetDlgItem(chooser, cmb13) ? GetDlgItem(chooser, cmb13) : GetDlgItem(chooser, edt1);
        EXPECT_EQ(textOf(name), L"");
        SetWindowTextW(name, file.c_str());
        EXPECT_TRUE(click(chooser, IDOK));
        ASSERT_TRUE(s.waitUntilGone(chooser));
        EXPECT_EQ(textOf(GetDlgItem(window, IDC_ADDSHEET_PATH)), file);
        EXPECT_TRUE(isEnabled(window, IDOK));
        EXPECT_TRUE(click(window, IDCANCEL));
    });
    EXPECT_STREQ(dialog.entry.Path.c_str(), L"C:\\old.css");
}

TEST_F(EntryDialogs, PreferOffersThePageTitlesAndTheStoredSheetsAndProposesTheLastEnabledTitle) {
    store.page.currentUrl = SharedString(L"http://example.test/doc.html");
    store.page.sheetTitles = {sheetTitle(L"Blue", false), sheetTitle(L"Red", true), sheetTitle(L"Green", false),
                              sheetTitle(nullptr, false)};
    store.AddSheet = {addSheet(L"Dark", L"dark.css")};
    PreferEntryDialog offered(nullptr, store);
    EXPECT_EQ(runDialog(offered, kPreferCaption,
                        [](ModalScript&, HWND window) {
                            HWND title = GetDlgItem(window, IDC_PREFER_TITLE);
                            EXPECT_EQ(comboItems(title),
                                      (std::vector<std::wstring>{L"Blue", L"Red", L"Green", L"", L"Dark"}));
                            EXPECT_EQ(textOf(title), L"Green");
                            EXPECT_EQ(textOf(GetDlgItem(window, IDC_PREFER_URI)), L"http://example.test/doc.html");
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_STREQ(offered.entry.Title.c_str(), L"Green");

    store.page = PageContext{};
    store.AddSheet.clear();
    PreferEntryDialog bare(nullptr, store);
    runDialog(bare, kPreferCaption, [](ModalScript&, HWND window) {
        EXPECT_EQ(textOf(GetDlgItem(window, IDC_PREFER_TITLE)), L"");
        EXPECT_EQ(textOf(GetDlgItem(window, IDC_PREFER_URI)), L"");
        EXPECT_FALSE(isEnabled(window, IDOK));
        typeText(GetDlgItem(window, IDC_PREFER_TITLE), L"Typed");
        EXPECT_FALSE(isEnabled(window, IDOK));
        typeText(GetDlgItem(window, IDC_PREFER_URI), L"http://");
        EXPECT_TRUE(isEnabled(window, IDOK));
        EXPECT_TRUE(click(window, IDCANCEL));
    });
}

TEST_F(EntryDialogs, ANewLinkTypeStartsAsALinkAndTheSeparatorChoiceOverridesTheFields) {
    LinkTypeEntryDialog dialog(nullptr);
    dialog.entry = linkType(L"", -1, L"", 0, -1);
    EXPECT_EQ(runDialog(dialog, kLinkTypeCaption,
                        [](ModalScript&, HWND window) {
                            EXPECT_TRUE(isChecked(window, IDC_LINKTYPE_IS_LINK));
                            EXPECT_FALSE(isChecked(window, IDC_LINKTYPE_IS_SEPARATOR));
                            EXPECT_EQ(textOf(GetDlgItem(window, IDC_LINKTYPE_WHICH)), L"rel");
                            EXPECT_EQ(textOf(GetDlgItem(window, IDC_LINKTYPE_SUBMENU)), L"2個以上のときはサブメニューで表示");
                            EXPECT_FALSE(isEnabled(window, IDOK));
                            typeText(GetDlgItem(window, IDC_LINKTYPE_TITLE), L"typed");
                            EXPECT_TRUE(click(window, IDC_LINKTYPE_IS_SEPARATOR));
                            for (int id : kLinkFields) EXPECT_FALSE(isEnabled(window, id)) << id;
                            EXPECT_TRUE(isEnabled(window, IDOK));
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_TRUE(dialog.entry.Title.empty() && dialog.entry.Attr.empty());
    EXPECT_EQ(dialog.entry.Which, -1);
    EXPECT_EQ(dialog.entry.Shortcut, 0);
    EXPECT_EQ(dialog.entry.Submenu, 99);

    runDialog(dialog, kLinkTypeCaption, [](ModalScript&, HWND window) {
        EXPECT_TRUE(isChecked(window, IDC_LINKTYPE_IS_SEPARATOR));
        for (int id : kLinkFields) EXPECT_FALSE(isEnabled(window, id)) << id;
        EXPECT_TRUE(click(window, IDC_LINKTYPE_IS_LINK));
        for (int id : kLinkFields) EXPECT_TRUE(isEnabled(window, id)) << id;
        EXPECT_FALSE(isEnabled(window, IDOK));
        EXPECT_TRUE(click(window, IDCANCEL));
    });
}

TEST_F(EntryDialogs, AnUnknownSubmenuValueOpensOnTheFirstChoiceAndIsSavedAsIt) {
    LinkTypeEntryDialog dialog(nullptr);
    dialog.entry = linkType(L"作者", 1, L"Made", 0x02C0, 7);
    EXPECT_EQ(runDialog(dialog, kLinkTypeCaption,
                        [](ModalScript&, HWND window) {
                            EXPECT_EQ(selection(window, IDC_LINKTYPE_WHICH), 1);
                            EXPECT_EQ(selection(window, IDC_LINKTYPE_SUBMENU), 0);
                            EXPECT_EQ(SendDlgItemMessageW(window, IDC_LINKTYPE_SHORTCUT, HKM_GETHOTKEY, 0, 0), 0x02C0);
                            setHotKey(window, IDC_LINKTYPE_SHORTCUT, 0x0774);
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_EQ(dialog.entry.Submenu, 2);
    EXPECT_EQ(dialog.entry.Which, 1);
    EXPECT_EQ(dialog.entry.Shortcut, 0x0774);

    runDialog(dialog, kLinkTypeCaption, [](ModalScript&, HWND window) {
        selectComboItem(window, IDC_LINKTYPE_SUBMENU, 2);
        selectComboItem(window, IDC_LINKTYPE_WHICH, 0);
        EXPECT_TRUE(click(window, IDOK));
    });
    EXPECT_EQ(dialog.entry.Submenu, 0);
    EXPECT_EQ(dialog.entry.Which, 0);
}

TEST_F(EntryDialogs, CruiseOffersTheStoredLinkTypesAndASeparatorsEmptyTitle) {
    store.LinkType = {linkType(L"次", 0, L"Next"), linkType(L"", -1, L"", 0, 99), linkType(L"目次", 0, L"Contents")};
    CruiseEntryDialog dialog(nullptr, store);
    EXPECT_EQ(runDialog(dialog, kCruiseCaption,
                        [](ModalScript&, HWND window) {
                            EXPECT_EQ(comboItems(GetDlgItem(window, IDC_CRUISE_TITLE)),
                                      (std::vector<std::wstring>{L"次", L"", L"目次"}));
                            EXPECT_FALSE(isEnabled(window, IDOK));
                            selectComboItem(window, IDC_CRUISE_TITLE, 1);
                            EXPECT_TRUE(isEnabled(window, IDOK));
                            EXPECT_TRUE(click(window, IDOK));
                        }),
              IDOK);
    EXPECT_TRUE(dialog.entry.Title.empty());
    EXPECT_EQ(dialog.entry.index, -1);
}

}  // namespace
}  // namespace quorin::test
