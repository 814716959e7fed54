// The page of link types.
#include "settings_ui/link_type_page.h"

#include "settings_ui/link_type_entry_dialog.h"
#include "settings_ui/shortcut_text.h"
#include "settings_ui_resource.h"

namespace quorin {

LinkTypePage::LinkTypePage(SettingsStore& store)
    : EntryListPage(store, IDD_LINKTYPE_PAGE,
                    {IDC_LINKTYPE_LIST, IDC_LINKTYPE_UP, IDC_LINKTYPE_DOWN, IDC_LINKTYPE_ADD, IDC_LINKTYPE_EDIT,
                     IDC_LINKTYPE_DELETE}) {}

std::vector<LinkTypeEntry>& LinkTypePage::storeList() const { return store().LinkType; }

std::vector<UINT> LinkTypePage::columnCaptions() const {
    return {IDS_LINKTYPE_COLUMN_TITLE, IDS_LINKTYPE_COLUMN_WHICH, IDS_LINKTYPE_COLUMN_ATTR,
            IDS_LINKTYPE_COLUMN_SHORTCUT};
}

std::vector<std::wstring> LinkTypePage::rowTexts(const LinkTypeEntry& entry) const {
    if (entry.Submenu == kSeparatorSubmenu) return {L"---", L"", L"", L""};
    return {entry.Title.c_str(), linkTypeWhichName(entry.Which), entry.Attr.c_str(), formatShortcut(entry.Shortcut)};
}

LinkTypeEntry LinkTypePage::newEntry() const {
    LinkTypeEntry entry;
    entry.Which = -1;
    entry.Shortcut = 0;
    entry.Submenu = -1;
    return entry;
}

bool LinkTypePage::runDialog(LinkTypeEntry& entry) { return LinkTypeEntryDialog(hwnd()).edit(entry); }

}  // namespace quorin
