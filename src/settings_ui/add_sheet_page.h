#pragma once
// Page 107 of the style sheet: the user's stylesheets added to every document, in order.

#include "settings/settings_store.h"
#include "settings_ui/entry_list_page.h"

namespace quorin {

class AddSheetPage : public EntryListPage<AddSheetEntry> {
public:
    explicit AddSheetPage(SettingsStore& store);

private:
    std::vector<AddSheetEntry>& storeList() const override;
    std::vector<UINT> columnCaptions() const override;
    std::vector<std::wstring> rowTexts(const AddSheetEntry& entry) const override;
    bool runDialog(AddSheetEntry& entry) override;
};

}  // namespace quorin
