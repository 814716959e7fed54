// The entry dialog of a manual-cruise step.
#include "settings_ui/cruise_entry_dialog.h"

#include "settings_ui/dialog_controls.h"
#include "settings_ui_resource.h"

namespace quorin {

CruiseEntryDialog::CruiseEntryDialog(HWND owner, const SettingsStore& store)
    : EntryDialogOf(owner, IDD_CRUISE_ENTRY), store_(&store) {}

INT_PTR CruiseEntryDialog::onInitDialog() {
    HWND title = item(IDC_CRUISE_TITLE);
    limitComboEdit(title, TitleText::capacity);
    SetWindowTextW(title, entry.Title.c_str());
    for (const LinkTypeEntry& type : store_->LinkType)
        SendMessageW(title, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.Title.c_str()));
    updateOk();
    return 1;
}

bool CruiseEntryDialog::okAllowed() const { return comboHasTitle(item(IDC_CRUISE_TITLE)); }

void CruiseEntryDialog::onOk() {
    const std::wstring title = comboTitle(item(IDC_CRUISE_TITLE));
    entry.Title.assign(title.c_str(), title.size());
}

}  // namespace quorin
