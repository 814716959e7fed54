#include "words_rows.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/resources.h"
#include "settings_ui_resource.h"
#include "support/dialog_driver.h"
#include "support/menu_driver.h"

using namespace quorin::test;

namespace quorin::demo {

namespace {

constexpr int kLinkButton = 50001;
constexpr UINT kSettingsItem = 50099;

struct Row {
    const wchar_t* title;
    const wchar_t* words;
};

constexpr Row kRows[] = {
    {L"次(文字)", L"次へ|次のページ|次|Next|Next page|»"},
    {L"前(文字)", L"前へ|前のページ|前|戻る|Previous|Prev|«"},
};

// Fills the entry dialog of a new link type; the first one is shown before OK.
bool addRow(ModalScript& s, HWND sheet, HWND page, const Row& row, bool show, const View& view,
            const std::function<bool(DWORD)>& wait) {
    if (!clickLater(page, IDC_LINKTYPE_ADD)) return false;
    HWND dialog = s.waitForOtherDialog({sheet});
    if (!dialog) return false;
    typeText(GetDlgItem(dialog, IDC_LINKTYPE_TITLE), row.title);
    selectComboItem(dialog, IDC_LINKTYPE_WHICH, 2);
    typeText(GetDlgItem(dialog, IDC_LINKTYPE_ATTR), row.words);
    if (show) view(L"link-words-entry", wait);
    click(dialog, IDOK);
    return s.waitUntilGone(dialog);
}

// Adds the cruise step "次(文字)" and moves it up to follow "次".
bool placeInCruise(ModalScript& s, HWND sheet, HWND page) {
    if (!clickLater(page, IDC_CRUISE_ADD)) return false;
    HWND dialog = s.waitForOtherDialog({sheet});
    if (!dialog) return false;
    const std::vector<std::wstring> titles = comboItems(GetDlgItem(dialog, IDC_CRUISE_TITLE));
    const auto found = std::find(titles.begin(), titles.end(), kRows[0].title);
    if (found == titles.end()) {
        click(dialog, IDCANCEL);
        s.waitUntilGone(dialog);
        return false;
    }
    selectComboItem(dialog, IDC_CRUISE_TITLE, static_cast<int>(found - titles.begin()));
    click(dialog, IDOK);
    if (!s.waitUntilGone(dialog)) return false;
    HWND list = GetDlgItem(page, IDC_CRUISE_LIST);
    clickRow(list, rowCount(list) - 1);
    while (focusedRow(list) > 1 && click(page, IDC_CRUISE_UP)) {
    }
    return true;
}

}  // namespace

bool addWordsRows(HWND toolbar, const View& view) {
    if (!toolbar) return false;
    bool done = false;
    const std::wstring caption = loadString(IDS_LINK_SETTINGS_CAPTION);
    ModalScript script(120000);
    script.run([&] { clickDropDown(toolbar, kLinkButton); }, [&](ModalScript& s) {
        const auto wait = [&s](DWORD ms) {
            s.sleep(ms);
            return !s.timedOut();
        };
        HMENU menu = waitForPopup(s);
        if (!menu) return;
        chooseItem(s, menu, kSettingsItem);
        HWND sheet = s.waitForDialog(caption.c_str());
        if (!sheet) return;
        HWND types = selectTab(sheet, 0);
        for (const Row& row : kRows)
            if (!addRow(s, sheet, types, row, &row == &kRows[0], view, wait)) return;
        view(L"link-words-linktype", wait);
        click(sheet, kApplyButton);
        HWND cruise = selectTab(sheet, 1);
        if (!placeInCruise(s, sheet, cruise)) return;
        view(L"link-words-cruise", wait);
        done = click(sheet, IDOK);
    });
    return done;
}

}  // namespace quorin::demo
