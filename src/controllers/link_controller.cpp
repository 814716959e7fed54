#include "controllers/link_controller.h"

#include "controllers/shortcut.h"
#include "resource.h"

namespace quorin {

LinkController::LinkController(SettingsStore& settings)
    : ButtonController(settings, 1, kCommandId, true), collection_(&settings) {}

void LinkController::setSite(IUnknown* site) { collection_.setSite(site); }

void LinkController::onDocumentComplete(IWebBrowser2* browser, bool hasContent) {
    collection_.setDocument(browser);
    documentUsable_ = hasContent;
}

void LinkController::getTooltip(NMTTDISPINFOW& info) { setTooltipText(info, IDS_TIP_CRUISE); }

LRESULT LinkController::getButtonInfo(NMTOOLBARW& info) { return fillButtonInfo(info, IDS_LINK_BUTTON); }

LRESULT LinkController::onCommand() {
    if (documentUsable_) collection_.cruise();
    return 0;
}

bool LinkController::onShortcut(WORD shortcut) {
    if (isModifierKey(shortcut) || !documentUsable_) return false;
    if (followLinkType(shortcut)) return true;
    if (shortcut != collection_.cruiseShortcut()) return false;
    collection_.cruise();
    return true;
}

bool LinkController::followLinkType(WORD shortcut) {
    const auto& types = collection_.linkTypes();
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (types[i].Shortcut != shortcut) continue;
        // Only the first type bound to the key counts.
        collection_.collect();
        const LinkList& links = collection_.linkTypeLinks(i);
        if (links.empty()) return false;
        collection_.navigate(links.front());
        return true;
    }
    return false;
}

}  // namespace quorin
