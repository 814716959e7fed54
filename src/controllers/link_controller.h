#pragma once
// Behind the "リンク" button: the manual cruise from the button face, the link menu of the
// drop-down arrow, and the shortcut keys of the link types and of the cruise.

#include <windows.h>
#include <exdisp.h>

#include <cstddef>

#include "controllers/button_controller.h"
#include "link/link_collection.h"

namespace quorin {

class LinkController final : public ButtonController {
public:
    static constexpr int kCommandId = 50001;

    // The menu's command ids. Each range holds 999 ids; what does not fit into its range is left
    // out of the menu, so that an id never reaches into the next range.
    struct IdRange {
        UINT first;
        UINT last;
        bool holds(UINT id) const noexcept { return id >= first && id <= last; }
    };
    static constexpr IdRange kLinkTypeIds{51001, 51999};  // link type items and their entries
    static constexpr IdRange kOtherIds{52001, 52999};
    static constexpr IdRange kGeneralIds{53001, 53999};   // same-site links, then the others
    static constexpr IdRange kNonLinkIds{54001, 54999};

    explicit LinkController(SettingsStore& settings);

    void setSite(IUnknown* site);
    // browser may be null: the collection's own browser is meant.
    void onDocumentComplete(IWebBrowser2* browser, bool hasContent);

    void getTooltip(NMTTDISPINFOW& info) override;
    LRESULT getButtonInfo(NMTOOLBARW& info) override;
    LRESULT onCommand() override;
    LRESULT onDropDown(const NMTOOLBARW& info) override;
    bool onShortcut(WORD shortcut) override;
    // The highlighted entry's address; the help texts for the other items.
    LRESULT onMenuSelect(WPARAM wParam, LPARAM lParam) override;

    // The entry that the last menu build gave that id, or null.
    const LinkEntry* findEntry(UINT id) const noexcept;

protected:
    void prepareMenu(HMENU popup) override { buildMenu(popup); }
    void runMenuCommand(UINT id) override;

private:
    void buildMenu(HMENU popup);
    // Inserts the item of the link type at position before "その他"; returns the next free id.
    UINT insertLinkType(HMENU popup, std::size_t position, UINT id);
    // Lists the entries under the holder item, numbering them from id while the range lasts;
    // returns the next free id.
    UINT fillSubmenu(HMENU popup, UINT holderId, LinkList& list, UINT id, UINT lastId);
    void openSettings();

    // Follows the first link of the first link type bound to the shortcut; false when there is
    // no such type or the page has no link of it.
    bool followLinkType(WORD shortcut);

    bool documentUsable_ = false;
    LinkCollection collection_;
};

}  // namespace quorin
