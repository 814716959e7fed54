#pragma once
// Dialog 112: one row of the link-type table, either a link type (title, attribute, attribute
// value, shortcut, submenu display) or a menu separator.

#include <windows.h>

#include "settings/settings_store.h"
#include "settings_ui/entry_dialog.h"

namespace quorin {

class LinkTypeEntryDialog : public EntryDialogOf<LinkTypeEntry> {
public:
    explicit LinkTypeEntryDialog(HWND owner);

private:
    INT_PTR onInitDialog() override;
    bool okAllowed() const override;
    void onOk() override;
    INT_PTR onCommand(int id, UINT code) override;
    void fillSubmenuChoices();
    void enableLinkFields(bool enable);
};

}  // namespace quorin
