#pragma once
// Behind the "リンク" button: the manual cruise from the button face, and the shortcut keys of
// the link types and of the cruise.

#include <windows.h>
#include <exdisp.h>

#include "controllers/button_controller.h"
#include "link/link_collection.h"

namespace quorin {

class LinkController final : public ButtonController {
public:
    static constexpr int kCommandId = 50001;

    explicit LinkController(SettingsStore& settings);

    void setSite(IUnknown* site);
    // browser may be null: the collection's own browser is meant.
    void onDocumentComplete(IWebBrowser2* browser, bool hasContent);

    void getTooltip(NMTTDISPINFOW& info) override;
    LRESULT getButtonInfo(NMTOOLBARW& info) override;
    LRESULT onCommand() override;
    bool onShortcut(WORD shortcut) override;

private:
    // Follows the first link of the first link type bound to the shortcut; false when there is
    // no such type or the page has no link of it.
    bool followLinkType(WORD shortcut);

    bool documentUsable_ = false;
    LinkCollection collection_;
};

}  // namespace quorin
