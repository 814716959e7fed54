#pragma once
// Dialog 110: a preferred stylesheet title for a URI prefix. Offers the titles of the page last
// shown and of the stored added sheets, and proposes the page's address.

#include <windows.h>

#include "settings/settings_store.h"
#include "settings_ui/entry_dialog.h"

namespace quorin {

class PreferEntryDialog : public EntryDialogOf<PreferEntry> {
public:
    PreferEntryDialog(HWND owner, const SettingsStore& store);

private:
    INT_PTR onInitDialog() override;
    bool okAllowed() const override;
    void onOk() override;
    void offerTitles();

    const SettingsStore* store_;
};

}  // namespace quorin
