#pragma once
// Dialog 109: title and path of one added stylesheet, with a file chooser for the path.

#include <windows.h>

#include "settings/settings_store.h"
#include "settings_ui/entry_dialog.h"

namespace quorin {

class AddSheetEntryDialog : public EntryDialogOf<AddSheetEntry> {
public:
    explicit AddSheetEntryDialog(HWND owner);

private:
    INT_PTR onInitDialog() override;
    bool okAllowed() const override;
    void onOk() override;
    INT_PTR onCommand(int id, UINT code) override;
    void browse();
};

}  // namespace quorin
