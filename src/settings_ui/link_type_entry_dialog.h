#pragma once
// Dialog 112: one row of the link-type table, either a link type (title, what it is matched
// against: rel, rev or the link's words, the value, shortcut, submenu display) or a menu separator.

#include <windows.h>

#include <string>

#include "settings/settings_store.h"
#include "settings_ui/entry_dialog.h"

namespace quorin {

// How the dialog and the list page name what a link type is matched against.
std::wstring linkTypeWhichName(int which);

class LinkTypeEntryDialog : public EntryDialogOf<LinkTypeEntry> {
public:
    explicit LinkTypeEntryDialog(HWND owner);

private:
    INT_PTR onInitDialog() override;
    bool okAllowed() const override;
    void onOk() override;
    INT_PTR onCommand(int id, UINT code) override;
    void fillWhichChoices();
    void fillSubmenuChoices();
    void enableLinkFields(bool enable);
};

}  // namespace quorin
