#pragma once
// Page 113 of the link sheet: the order of the manual cruise and its shortcut.

#include "settings/settings_store.h"
#include "settings_ui/entry_list_page.h"

namespace quorin {

class LinkCruisePage : public EntryListPage<CruiseEntry> {
public:
    explicit LinkCruisePage(SettingsStore& store);

private:
    INT_PTR onInitDialog() override;
    INT_PTR onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    void saveToStore() override;
    std::vector<CruiseEntry>& storeList() const override;
    std::vector<UINT> columnCaptions() const override;
    std::vector<std::wstring> rowTexts(const CruiseEntry& entry) const override;
    bool runDialog(CruiseEntry& entry) override;

    // Until the hot-key control is set, its notifications are not the user's edits.
    bool initialized_ = false;
};

}  // namespace quorin
