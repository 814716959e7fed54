#pragma once
// Behind the "スタイル" button: the page's author stylesheets off and on from the button face
// and the two shortcut keys, and the browser's events for the stylesheet engine.

#include <windows.h>
#include <exdisp.h>

#include "controllers/button_controller.h"
#include "style/style_engine.h"

namespace quorin {

class StyleController final : public ButtonController {
public:
    static constexpr int kCommandId = 40001;

    explicit StyleController(SettingsStore& settings);

    void setSite(IUnknown* site);
    void onBeforeNavigate(IWebBrowser2* browser);
    // browser may be null: the engine's own browser is meant.
    void onDocumentComplete(IWebBrowser2* browser, bool hasContent);
    void frameCompleted(IWebBrowser2* frame, bool hasContent);
    // The engine's lists may no longer match the page; they are rebuilt before their next use.
    void markStale() noexcept { stale_ = true; }
    bool stale() const noexcept { return stale_; }

    void getTooltip(NMTTDISPINFOW& info) override;
    LRESULT getButtonInfo(NMTOOLBARW& info) override;
    LRESULT onCommand() override;
    bool onShortcut(WORD shortcut) override;

private:
    void refreshIfStale();

    bool stale_ = true;
    bool documentAvailable_ = false;
    StyleEngine engine_;
};

}  // namespace quorin
