// The page of preferred stylesheets.
#include "settings_ui/prefer_page.h"

#include "settings_ui/prefer_entry_dialog.h"
#include "settings_ui_resource.h"

namespace quorin {

PreferPage::PreferPage(SettingsStore& store)
    : EntryListPage(store, IDD_PREFER_PAGE,
                    {IDC_PREFER_LIST, IDC_PREFER_UP, IDC_PREFER_DOWN, IDC_PREFER_ADD, IDC_PREFER_EDIT, IDC_PREFER_DELETE}) {}

std::vector<PreferEntry>& PreferPage::storeList() const { return store().Prefer; }

std::vector<UINT> PreferPage::columnCaptions() const { return {IDS_PREFER_COLUMN_TITLE, IDS_PREFER_COLUMN_URI}; }

std::vector<std::wstring> PreferPage::rowTexts(const PreferEntry& entry) const {
    return {entry.Title.c_str(), entry.URI.c_str()};
}

// The dialog offers the stored added sheets, not this sheet's unapplied ones.
bool PreferPage::runDialog(PreferEntry& entry) { return PreferEntryDialog(hwnd(), store()).edit(entry); }

}  // namespace quorin
