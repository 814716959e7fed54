// The list pages' buttons, moves, deletions and additions, on the added-sheets page.
#include "settings_ui_fixture.h"

#include <commctrl.h>

#include "settings_ui/style_settings_sheet.h"
#include "settings_ui_resource.h"

namespace quorin::test {
namespace {

// The enabled ones of the five buttons, in their order.
std::wstring enabledButtons(HWND page) {
    const std::pair<int, const wchar_t*> buttons[] = {{IDC_ADDSHEET_UP, L"Up"},
                                                      {IDC_ADDSHEET_DOWN, L"Down"},
                                                      {IDC_ADDSHEET_ADD, L"Add"},
                                                      {IDC_ADDSHEET_EDIT, L"Edit"},
                                                      {IDC_ADDSHEET_DELETE, L"Delete"}};
    std::wstring enabled;
    for (const auto& [id, name] : buttons)
        if (isEnabled(page, id)) enabled += (enabled.empty() ? L"" : L" ") + std::wstring(name);
    return enabled;
}

std::vector<std::wstring> column0(HWND list) {
    std::vector<std::wstring> texts;
    for (const auto& row : rows(list)) texts.push_back(row.at(0));
    return texts;
}

class ListPages : public SettingsUiTest {
protected:
    void SetUp() override {
        SettingsUiTest::SetUp();
        store.AddSheet = {addSheet(L"A", L"a.css"), addSheet(L"B", L"b.css"), addSheet(L"C", L"c.css")};
    }

    // The script works on the added-sheets page, the sheet's first.
    void onPage(const std::function<void(ModalScript&, HWND sheet, HWND page, HWND list)>& script) {
        openSheet<StyleSettingsSheet>(kStyleCaption, [&](ModalScript& s, HWND sheet) {
            HWND page = currentPage(sheet);
            script(s, sheet, page, GetDlgItem(page, IDC_ADDSHEET_LIST));
        });
    }
};

TEST_F(ListPages, ButtonsFollowTheFocusedRowDownToAnEmptyList) {
    onPage([](ModalScript&, HWND sheet, HWND page, HWND list) {
        EXPECT_EQ(rows(list), (std::vector<std::vector<std::wstring>>{{L"A", L"a.css"}, {L"B", L"b.css"}, {L"C", L"c.css"}}));
        clickRow(list, 0);
        EXPECT_EQ(enabledButtons(page), L"Down Add Edit Delete");
        clickRow(list, 1);
        EXPECT_EQ(enabledButtons(page), L"Up Down Add Edit Delete");
        clickRow(list, 2);
        EXPECT_EQ(enabledButtons(page), L"Up Add Edit Delete");
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DELETE));
        EXPECT_EQ(focusedRow(list), 1);
        EXPECT_TRUE(isRowSelected(list, 1));
        EXPECT_EQ(enabledButtons(page), L"Up Add Edit Delete");
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DELETE));
        EXPECT_EQ(enabledButtons(page), L"Add Edit Delete");
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DELETE));
        EXPECT_EQ(rowCount(list), 0);
        EXPECT_EQ(enabledButtons(page), L"Add");
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(store.AddSheet.empty());
    EXPECT_EQ(registryImage().count(L"Software\\Orv\\Quorin\\AddSheet"), 1u) << "an empty group stays as a key";

    onPage([](ModalScript&, HWND sheet, HWND page, HWND) {
        EXPECT_EQ(enabledButtons(page), L"Add");
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
}

TEST_F(ListPages, UpDownAndDeleteMoveTheEntriesAndTheFocus) {
    onPage([](ModalScript&, HWND sheet, HWND page, HWND list) {
        clickRow(list, 2);
        EXPECT_TRUE(click(page, IDC_ADDSHEET_UP));
        EXPECT_EQ(column0(list), (std::vector<std::wstring>{L"A", L"C", L"B"}));
        EXPECT_EQ(focusedRow(list), 1);
        EXPECT_TRUE(isRowSelected(list, 1));
        EXPECT_TRUE(click(page, IDC_ADDSHEET_UP));
        EXPECT_EQ(enabledButtons(page), L"Down Add Edit Delete");
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DOWN));
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DOWN));
        EXPECT_EQ(column0(list), (std::vector<std::wstring>{L"A", L"B", L"C"}));
        EXPECT_EQ(focusedRow(list), 2);
        clickRow(list, 0);
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DOWN));
        clickRow(list, 0);
        EXPECT_TRUE(click(page, IDC_ADDSHEET_DELETE));
        EXPECT_EQ(rows(list), (std::vector<std::vector<std::wstring>>{{L"A", L"a.css"}, {L"C", L"c.css"}}));
        EXPECT_EQ(focusedRow(list), 0);
        EXPECT_TRUE(isRowSelected(list, 0));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_EQ(titles(store.AddSheet), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_STREQ(store.AddSheet[1].Path.c_str(), L"c.css");
}

TEST_F(ListPages, AddAppendsARowAndLeavesTheFocusWhereItWasEditCancelledChangesNothing) {
    onPage([](ModalScript& s, HWND sheet, HWND page, HWND list) {
        clickRow(list, 0);
        HWND dialog = openEntryDialog(s, page, IDC_ADDSHEET_ADD, L"追加シート");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_ADDSHEET_TITLE)), L"");
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_TITLE), L"D");
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_PATH), L"d.css");
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_EQ(column0(list), (std::vector<std::wstring>{L"A", L"B", L"C", L"D"}));
        EXPECT_EQ(focusedRow(list), 0);
        EXPECT_TRUE(isRowSelected(list, 0));
        EXPECT_EQ(enabledButtons(page), L"Down Add Edit Delete");

        clickRow(list, 1);
        dialog = openEntryDialog(s, page, IDC_ADDSHEET_EDIT, L"追加シート");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_ADDSHEET_PATH)), L"b.css");
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_TITLE), L"changed");
        EXPECT_TRUE(click(dialog, IDCANCEL));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_EQ(cellText(list, 1, 0), L"B");

        dialog = openEntryDialog(s, page, IDC_ADDSHEET_EDIT, L"追加シート");
        ASSERT_TRUE(dialog);
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_TITLE), L"B2");
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_TRUE(modified);
    EXPECT_EQ(titles(store.AddSheet), (std::vector<std::wstring>{L"A", L"B2", L"C", L"D"}));
    EXPECT_STREQ(store.AddSheet[3].Path.c_str(), L"d.css");
}

int columnWidth(HWND list, int column) { return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)); }

int captionWidth(HWND list, int column) {
    wchar_t text[64] = {};
    LVCOLUMNW caption{};
    caption.mask = LVCF_TEXT;
    caption.pszText = text;
    caption.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&caption));
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

TEST_F(ListPages, ColumnsFitTheWidestTextOpenedOrAddedAndTheCaptionOfAnEmptyList) {
    store.AddSheet = {addSheet(L"Short", L"x.css"), addSheet(L"A title wider than every other one", L"y.css"),
                      addSheet(L"Mid", L"C:\\a path much wider than the other paths\\sheet.css"),
                      addSheet(L"WWWW", L"z.css")};
    // What the list itself makes of every row it holds.
    const auto expectSizedByTheList = [](HWND list, const char* when) {
        for (int column = 0; column < 2; ++column) {
            const int width = columnWidth(list, column);
            SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
            EXPECT_EQ(width, columnWidth(list, column)) << "column " << column << " " << when;
        }
    };
    onPage([&](ModalScript& s, HWND sheet, HWND page, HWND list) {
        EXPECT_EQ(rowCount(list), 4) << "nothing of the sizing is left in the list";
        expectSizedByTheList(list, "when opened");
        HWND dialog = openEntryDialog(s, page, IDC_ADDSHEET_ADD, L"追加シート");
        ASSERT_TRUE(dialog);
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_TITLE), L"An added title wider still than the widest one before");
        typeText(GetDlgItem(dialog, IDC_ADDSHEET_PATH), L"w.css");
        EXPECT_TRUE(click(dialog, IDOK));
        ASSERT_TRUE(s.waitUntilGone(dialog));
        expectSizedByTheList(list, "after an added row");
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });

    store.AddSheet.clear();
    onPage([](ModalScript&, HWND sheet, HWND, HWND list) {
        for (int column = 0; column < 2; ++column)
            EXPECT_GT(columnWidth(list, column), captionWidth(list, column)) << "column " << column;
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
}

TEST_F(ListPages, ALetterTypedIntoTheListHighlightsTheNextRowStartingWithIt) {
    store.AddSheet = {addSheet(L"alpha", L"a.css"), addSheet(L"Beta", L"b.css"), addSheet(L"gamma", L"g.css"),
                      addSheet(L"Bravo", L"v.css")};
    onPage([](ModalScript& s, HWND sheet, HWND page, HWND list) {
        clickRow(list, 2);
        focusControl(page, IDC_ADDSHEET_LIST);
        typeKey(s, 'B');
        EXPECT_EQ(focusedRow(list), 3) << "from the highlighted row on";
        EXPECT_TRUE(isRowSelected(list, 3));
        EXPECT_EQ(enabledButtons(page), L"Up Add Edit Delete");
        EXPECT_TRUE(click(sheet, IDCANCEL));
    });
}

TEST_F(ListPages, WithoutAHighlightedRowNoButtonActsOnAnEntry) {
    onPage([](ModalScript& s, HWND sheet, HWND page, HWND list) {
        clickRow(list, 1);
        EXPECT_EQ(enabledButtons(page), L"Up Down Add Edit Delete");
        clickBelowRows(s, list);
        ASSERT_FALSE(isRowSelected(list, 1)) << "a click below the rows takes the highlight away";
        EXPECT_EQ(focusedRow(list), 1) << "while the list keeps its focused row";
        EXPECT_EQ(enabledButtons(page), L"Add");
        EXPECT_FALSE(click(page, IDC_ADDSHEET_DELETE));
        // As a keyboard accelerator would send it, past the grey button.
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ADDSHEET_DELETE, BN_CLICKED), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ADDSHEET_UP, BN_CLICKED), 0);
        EXPECT_EQ(column0(list), (std::vector<std::wstring>{L"A", L"B", L"C"}));
        clickRow(list, 2);
        EXPECT_EQ(enabledButtons(page), L"Up Add Edit Delete");
        EXPECT_TRUE(click(sheet, IDOK));
    });
    EXPECT_FALSE(modified);
    EXPECT_EQ(titles(store.AddSheet), (std::vector<std::wstring>{L"A", L"B", L"C"}));
}

TEST_F(ListPages, AButtonThatGoesGreyWithTheKeyboardFocusHandsItToTheList) {
    onPage([](ModalScript& s, HWND sheet, HWND page, HWND list) {
        clickRow(list, 1);
        focusControl(page, IDC_ADDSHEET_UP);
        ASSERT_EQ(GetFocus(), GetDlgItem(page, IDC_ADDSHEET_UP));
        typeKey(s, VK_SPACE);
        EXPECT_EQ(column0(list), (std::vector<std::wstring>{L"B", L"A", L"C"}));
        EXPECT_FALSE(isEnabled(page, IDC_ADDSHEET_UP));
        EXPECT_EQ(GetFocus(), list) << "Up reached the first row";

        focusControl(page, IDC_ADDSHEET_DELETE);
        for (int i = 0; i < 3; ++i) typeKey(s, VK_SPACE);
        EXPECT_EQ(rowCount(list), 0);
        EXPECT_EQ(GetFocus(), list) << "Delete removed the last row";
        // Escape reaches the sheet only through a window that has the focus.
        typeKey(s, VK_ESCAPE);
        EXPECT_TRUE(s.waitUntilGone(sheet)) << "the keyboard still works the sheet";
    });
    EXPECT_EQ(store.AddSheet.size(), 3u) << "cancelled";
}

}  // namespace
}  // namespace quorin::test
