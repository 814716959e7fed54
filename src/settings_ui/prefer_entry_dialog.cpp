// The entry dialog of a preferred stylesheet.
#include "settings_ui/prefer_entry_dialog.h"

#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

PreferEntryDialog::PreferEntryDialog(HWND owner, const SettingsStore& store)
    : EntryDialogOf(owner, IDD_PREFER_ENTRY), store_(&store) {}

INT_PTR PreferEntryDialog::onInitDialog() {
    HWND title = item(IDC_PREFER_TITLE);
    limitComboEdit(title, TitleText::capacity);
    SetWindowTextW(title, entry.Title.c_str());
    offerTitles();
    HWND uri = item(IDC_PREFER_URI);
    limitEdit(uri, PathText::capacity);
    SetWindowTextW(uri, entry.URI.empty() ? store_->page.currentUrl.textOrEmpty() : entry.URI.c_str());
    updateOk();
    return 1;
}

void PreferEntryDialog::offerTitles() {
    HWND title = item(IDC_PREFER_TITLE);
    for (const SheetEntry& sheet : store_->page.sheetTitles) {
        SendMessageW(title, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sheet.title.textOrEmpty()));
        // A new entry proposes the page's enabled title; with several, the last one. An untitled
        // sheet would only blank the proposal.
        if (!sheet.disabled && entry.Title.empty() && !sheet.title.isEmpty()) SetWindowTextW(title, sheet.title.c_str());
    }
    for (const AddSheetEntry& added : store_->AddSheet)
        SendMessageW(title, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(added.Title.c_str()));
}

bool PreferEntryDialog::okAllowed() const {
    return comboHasTitle(item(IDC_PREFER_TITLE)) && hasText(item(IDC_PREFER_URI));
}

void PreferEntryDialog::onOk() {
    const std::wstring title = comboTitle(item(IDC_PREFER_TITLE));
    entry.Title.assign(title.c_str(), title.size());
    readText(item(IDC_PREFER_URI), entry.URI);
}

}  // namespace quorin
