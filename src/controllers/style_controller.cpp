#include "controllers/style_controller.h"

#include "controllers/shortcut.h"
#include "resource.h"

namespace quorin {

StyleController::StyleController(SettingsStore& settings)
    : ButtonController(settings, 0, kCommandId, true), engine_(settings) {}

void StyleController::setSite(IUnknown* site) { engine_.setSite(site); }

void StyleController::onBeforeNavigate(IWebBrowser2*) { engine_.beginNavigation(); }

void StyleController::onDocumentComplete(IWebBrowser2* browser, bool hasContent) {
    engine_.attachDocument(browser, hasContent);
    stale_ = false;
    documentAvailable_ = hasContent;
}

void StyleController::frameCompleted(IWebBrowser2* frame, bool hasContent) { engine_.frameCompleted(frame, hasContent); }

void StyleController::getTooltip(NMTTDISPINFOW& info) {
    refreshIfStale();
    UINT text = IDS_TIP_USE_SHEETS;
    if (engine_.sheetCount() <= 0)
        text = IDS_TIP_NO_SHEETS;
    else if (engine_.useSheets())
        text = IDS_TIP_DONT_USE_SHEETS;
    setTooltipText(info, text);
}

LRESULT StyleController::getButtonInfo(NMTOOLBARW& info) { return fillButtonInfo(info, IDS_STYLE_BUTTON); }

LRESULT StyleController::onCommand() {
    if (!documentAvailable_) return 0;
    refreshIfStale();
    engine_.setUseSheets(!engine_.useSheets());
    return 0;
}

bool StyleController::onShortcut(WORD shortcut) {
    if (isModifierKey(shortcut) || !documentAvailable_) return false;
    // Equal shortcuts toggle the stylesheets.
    if (shortcut == engine_.useSheetShortcut()) {
        onCommand();
        return true;
    }
    if (shortcut != engine_.useAttrShortcut()) return false;
    engine_.setUseStyleAttr(!engine_.useStyleAttr());
    return true;
}

void StyleController::refreshIfStale() {
    if (!stale_) return;
    engine_.refreshList();
    stale_ = false;
}

}  // namespace quorin
