#pragma once
// Dialog 115: the link-type title of one manual-cruise step, chosen from the stored link types or
// typed.

#include <windows.h>

#include "settings/settings_store.h"
#include "settings_ui/entry_dialog.h"

namespace quorin {

class CruiseEntryDialog : public EntryDialogOf<CruiseEntry> {
public:
    CruiseEntryDialog(HWND owner, const SettingsStore& store);

private:
    INT_PTR onInitDialog() override;
    bool okAllowed() const override;
    void onOk() override;

    const SettingsStore* store_;
};

}  // namespace quorin
