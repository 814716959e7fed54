// The entry dialog of a link type or separator.
#include "settings_ui/link_type_entry_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "common/resources.h"
#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

namespace {

struct SubmenuChoice {
    int value;
    UINT textId;
};

// The choices of the submenu list, in the order shown.
constexpr SubmenuChoice SubmenuChoices[] = {
    {2, IDS_SUBMENU_TWO_OR_MORE},
    {1, IDS_SUBMENU_ALWAYS},
    {0, IDS_SUBMENU_NEVER},
};

// What a row without a usable submenu choice gets, as a stored row without one does.
constexpr int kDefaultSubmenu = 2;

constexpr int kLinkFields[] = {IDC_LINKTYPE_TITLE, IDC_LINKTYPE_WHICH, IDC_LINKTYPE_ATTR, IDC_LINKTYPE_SHORTCUT,
                               IDC_LINKTYPE_SUBMENU};

}  // namespace

std::wstring linkTypeWhichName(int which) {
    if (which == kWhichRel) return L"rel";
    if (which == kWhichRev) return L"rev";
    if (which == kWhichWords) return loadString(IDS_LINKTYPE_WHICH_WORDS);
    // Other values are kept as loaded but shown as unknown.
    return L"???";
}

LinkTypeEntryDialog::LinkTypeEntryDialog(HWND owner) : EntryDialogOf(owner, IDD_LINKTYPE_ENTRY) {}

INT_PTR LinkTypeEntryDialog::onInitDialog() {
    limitEdit(item(IDC_LINKTYPE_TITLE), TitleText::capacity);
    SetWindowTextW(item(IDC_LINKTYPE_TITLE), entry.Title.c_str());
    fillWhichChoices();
    limitEdit(item(IDC_LINKTYPE_ATTR), TitleText::capacity);
    SetWindowTextW(item(IDC_LINKTYPE_ATTR), entry.Attr.c_str());
    SendMessageW(item(IDC_LINKTYPE_SHORTCUT), HKM_SETHOTKEY, entry.Shortcut, 0);
    fillSubmenuChoices();
    const bool separator = entry.Submenu == kSeparatorSubmenu;
    setChecked(item(IDC_LINKTYPE_IS_LINK), !separator);
    setChecked(item(IDC_LINKTYPE_IS_SEPARATOR), separator);
    enableLinkFields(!separator);
    return 1;
}

void LinkTypeEntryDialog::fillWhichChoices() {
    HWND list = item(IDC_LINKTYPE_WHICH);
    const std::wstring words = linkTypeWhichName(kWhichWords);
    const std::pair<int, const wchar_t*> choices[] = {
        {kWhichRel, L"rel"}, {kWhichRev, L"rev"}, {kWhichWords, words.c_str()}};
    LRESULT selected = 0;
    for (const auto& [value, text] : choices) {
        if (!*text) continue;
        const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index < 0) continue;
        SendMessageW(list, CB_SETITEMDATA, index, value);
        if (entry.Which == value) selected = index;
    }
    // A value of no choice (a new entry, a hand-edited row) starts on rel.
    SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void LinkTypeEntryDialog::fillSubmenuChoices() {
    HWND list = item(IDC_LINKTYPE_SUBMENU);
    LRESULT selected = 0;
    for (const SubmenuChoice& choice : SubmenuChoices) {
        std::wstring text = loadString(choice.textId);
        if (text.empty()) continue;
        text.resize(std::min(text.size(), TitleText::capacity - 1));
        const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0) continue;
        // The value travels with its item, so a choice left out does not shift the others.
        SendMessageW(list, CB_SETITEMDATA, index, choice.value);
        if (entry.Submenu == choice.value) selected = index;
    }
    SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void LinkTypeEntryDialog::enableLinkFields(bool enable) {
    for (int id : kLinkFields) EnableWindow(item(id), enable);
    updateOk();
}

bool LinkTypeEntryDialog::okAllowed() const {
    if (isChecked(item(IDC_LINKTYPE_IS_SEPARATOR))) return true;
    return hasText(item(IDC_LINKTYPE_TITLE)) && SendMessageW(item(IDC_LINKTYPE_WHICH), CB_GETCURSEL, 0, 0) != CB_ERR &&
           hasText(item(IDC_LINKTYPE_ATTR));
}

void LinkTypeEntryDialog::onOk() {
    if (isChecked(item(IDC_LINKTYPE_IS_SEPARATOR))) {
        entry.Title = L"";
        entry.Attr = L"";
        entry.Which = -1;
        entry.Shortcut = 0;
        entry.Submenu = kSeparatorSubmenu;
        return;
    }
    readText(item(IDC_LINKTYPE_TITLE), entry.Title);
    HWND which = item(IDC_LINKTYPE_WHICH);
    const LRESULT choice = SendMessageW(which, CB_GETCURSEL, 0, 0);
    if (choice != CB_ERR) entry.Which = static_cast<int>(SendMessageW(which, CB_GETITEMDATA, choice, 0));
    readText(item(IDC_LINKTYPE_ATTR), entry.Attr);
    entry.Shortcut = LOWORD(SendMessageW(item(IDC_LINKTYPE_SHORTCUT), HKM_GETHOTKEY, 0, 0));
    HWND list = item(IDC_LINKTYPE_SUBMENU);
    const LRESULT row = SendMessageW(list, CB_GETCURSEL, 0, 0);
    entry.Submenu = row == CB_ERR ? kDefaultSubmenu : static_cast<int>(SendMessageW(list, CB_GETITEMDATA, row, 0));
}

INT_PTR LinkTypeEntryDialog::onCommand(int id, UINT code) {
    if (code == BN_CLICKED && id == IDC_LINKTYPE_IS_SEPARATOR) {
        enableLinkFields(false);
        return TRUE;
    }
    if (code == BN_CLICKED && id == IDC_LINKTYPE_IS_LINK) {
        enableLinkFields(true);
        return TRUE;
    }
    return EntryDialogOf::onCommand(id, code);
}

}  // namespace quorin
