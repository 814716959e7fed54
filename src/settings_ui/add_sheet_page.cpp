// The page of added stylesheets.
#include "settings_ui/add_sheet_page.h"

#include "settings_ui/add_sheet_entry_dialog.h"
#include "settings_ui_resource.h"

namespace quorin {

AddSheetPage::AddSheetPage(SettingsStore& store)
    : EntryListPage(store, IDD_ADDSHEET_PAGE,
                    {IDC_ADDSHEET_LIST, IDC_ADDSHEET_UP, IDC_ADDSHEET_DOWN, IDC_ADDSHEET_ADD, IDC_ADDSHEET_EDIT,
                     IDC_ADDSHEET_DELETE}) {}

std::vector<AddSheetEntry>& AddSheetPage::storeList() const { return store().AddSheet; }

std::vector<UINT> AddSheetPage::columnCaptions() const { return {IDS_ADDSHEET_COLUMN_TITLE, IDS_ADDSHEET_COLUMN_PATH}; }

std::vector<std::wstring> AddSheetPage::rowTexts(const AddSheetEntry& entry) const {
    return {entry.Title.c_str(), entry.Path.c_str()};
}

bool AddSheetPage::runDialog(AddSheetEntry& entry) { return AddSheetEntryDialog(hwnd()).edit(entry); }

}  // namespace quorin
