#pragma once
// Page 111 of the link sheet: the table of link types the link menu is built from, with its
// separators.

#include "settings/settings_store.h"
#include "settings_ui/entry_list_page.h"

namespace quorin {

class LinkTypePage : public EntryListPage<LinkTypeEntry> {
public:
    explicit LinkTypePage(SettingsStore& store);

private:
    std::vector<LinkTypeEntry>& storeList() const override;
    std::vector<UINT> columnCaptions() const override;
    std::vector<std::wstring> rowTexts(const LinkTypeEntry& entry) const override;
    LinkTypeEntry newEntry() const override;
    bool runDialog(LinkTypeEntry& entry) override;
};

}  // namespace quorin
