#pragma once
// Page 108 of the style sheet: the preferred stylesheet title per URI prefix.

#include "settings/settings_store.h"
#include "settings_ui/entry_list_page.h"

namespace quorin {

class PreferPage : public EntryListPage<PreferEntry> {
public:
    explicit PreferPage(SettingsStore& store);

private:
    std::vector<PreferEntry>& storeList() const override;
    std::vector<UINT> columnCaptions() const override;
    std::vector<std::wstring> rowTexts(const PreferEntry& entry) const override;
    bool runDialog(PreferEntry& entry) override;
};

}  // namespace quorin
