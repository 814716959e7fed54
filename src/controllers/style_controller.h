#pragma once
// Behind the "スタイル" button: the page's author stylesheets off and on from the button face
// and the two shortcut keys, the drop-down menu of the page's and the user's sheets, the style
// settings sheet, and the browser's events for the stylesheet engine.

#include <windows.h>
#include <exdisp.h>

#include <vector>

#include "controllers/button_controller.h"
#include "style/style_engine.h"

namespace quorin {

class StyleController final : public ButtonController {
public:
    static constexpr int kCommandId = 40001;

    explicit StyleController(SettingsStore& settings);

    void setSite(IUnknown* site);
    void onBeforeNavigate(IWebBrowser2* browser);
    void onNavigateComplete() noexcept { engine_.navigationArrived(); }
    // browser may be null: the engine's own browser is meant.
    void onDocumentComplete(IWebBrowser2* browser, bool hasContent);
    void frameCompleted(IWebBrowser2* frame, bool hasContent);
    // The engine's lists may no longer match the page; they are rebuilt before their next use.
    void markStale() noexcept { stale_ = true; }
    bool stale() const noexcept { return stale_; }

    void getTooltip(NMTTDISPINFOW& info) override;
    LRESULT getButtonInfo(NMTOOLBARW& info) override;
    LRESULT onCommand() override;
    LRESULT onDropDown(const NMTOOLBARW& info) override { return showDropDownMenu(info, 0); }
    bool onShortcut(WORD shortcut) override;
    LRESULT onMenuSelect(WPARAM wParam, LPARAM lParam) override;

private:
    void prepareMenu(HMENU menu) override;
    void runMenuCommand(UINT id) override;
    // Lists the entries before the settings item from firstId on, with a separator after them;
    // true when one of them is checked.
    bool insertTitles(HMENU menu, const std::vector<SheetEntry>& entries, int firstId,
                      void (StyleEngine::*setCommandId)(std::size_t, int) noexcept);
    // The entry the menu numbered id, or null.
    const SheetEntry* titleEntry(UINT id) const noexcept;
    void openSettings();
    void refreshIfStale();

    bool stale_ = true;
    bool documentAvailable_ = false;
    StyleEngine engine_;
};

}  // namespace quorin
