// The page of the manual cruise.
#include "settings_ui/link_cruise_page.h"

#include <commctrl.h>

#include "settings_ui/cruise_entry_dialog.h"
#include "settings_ui/hot_key_field.h"
#include "settings_ui_resource.h"

namespace quorin {

LinkCruisePage::LinkCruisePage(SettingsStore& store)
    : EntryListPage(store, IDD_CRUISE_PAGE,
                    {IDC_CRUISE_LIST, IDC_CRUISE_UP, IDC_CRUISE_DOWN, IDC_CRUISE_ADD, IDC_CRUISE_EDIT, IDC_CRUISE_DELETE}) {}

INT_PTR LinkCruisePage::onInitDialog() {
    initialized_ = false;
    EntryListPage::onInitDialog();
    SendMessageW(item(IDC_CRUISE_SHORTCUT), HKM_SETHOTKEY, store().CruiseShortcut, 0);
    HotKeyField::watch(item(IDC_CRUISE_SHORTCUT));
    initialized_ = true;
    return 1;
}

INT_PTR LinkCruisePage::onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == EN_CHANGE && initialized_) setModified(true);
    return EntryListPage::onCommand(hwnd, wParam, lParam);
}

// The shortcut the control holds is an edit when it differs from the store's, whatever the
// control told of its changes.
void LinkCruisePage::saveToStore() {
    const WORD shortcut = hotKeyOf(item(IDC_CRUISE_SHORTCUT));
    if (shortcut != store().CruiseShortcut) setModified(true);
    EntryListPage::saveToStore();
    store().CruiseShortcut = shortcut;
}

std::vector<CruiseEntry>& LinkCruisePage::storeList() const { return store().LinkCruise; }

std::vector<UINT> LinkCruisePage::columnCaptions() const { return {IDS_CRUISE_COLUMN_TITLE}; }

std::vector<std::wstring> LinkCruisePage::rowTexts(const CruiseEntry& entry) const { return {entry.Title.c_str()}; }

// The dialog offers the stored link types, not this sheet's unapplied ones.
bool LinkCruisePage::runDialog(CruiseEntry& entry) { return CruiseEntryDialog(hwnd(), store()).edit(entry); }

}  // namespace quorin
