#pragma once
// The working half of the band: owns, for one browser window, the message window under the
// browser's rebar, the toolbar control with the style and link buttons, the settings, both
// controllers and the keyboard hook. The browser helper's messages arrive here and are routed to
// the controllers.

#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <shlobj.h>

#include "browser/keyboard_hook.h"
#include "common/com_ptr.h"
#include "common/unique_handle.h"
#include "controllers/link_controller.h"
#include "controllers/style_controller.h"
#include "settings/settings_store.h"

namespace quorin {

class ToolbarWindow {
public:
    // Loads the settings from the registry before the controllers see them.
    ToolbarWindow();
    // Destroys the windows and removes the hook; the settings store then writes back what changed.
    ~ToolbarWindow();
    ToolbarWindow(const ToolbarWindow&) = delete;
    ToolbarWindow& operator=(const ToolbarWindow&) = delete;

    // Creates the hidden message window, and in it the toolbar, under parent once; true when it
    // exists.
    bool createWindow(HWND parent);
    void destroyWindow();
    // The band identity is kept uncounted: the band owns this object, so it outlives it.
    void setSite(IInputObjectSite* site, IDeskBand* bandIdentity);

    HWND messageWindow() const noexcept { return messageWindow_.get(); }
    bool hasFocus() const noexcept { return hasFocus_; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    SettingsStore& loadedSettings();
    // Without the toolbar control or an image list the band stays empty.
    void buildToolbar();
    void addButtons();
    void resetButtons();
    void replaceButtons();
    bool holdsAButton() noexcept;
    void saveLayout();
    void restoreLayout();
    void forgetWindows() noexcept;
    void notifyFocus(bool focused);
    LRESULT eraseBackground(HWND hwnd, HDC dc);
    LRESULT onNotify(NMHDR& header);
    LRESULT buttonInfo(NMTOOLBARW& info);
    void onBrowserMessage(UINT message, LPARAM lParam);
    void onTopDocumentComplete(LPARAM lParam);
    void onFrameDocumentComplete(LPARAM lParam);
    bool findBrowserWindows();
    // True when the browser's document (the site's browser when null) holds more than 5 elements.
    bool hasContent(IWebBrowser2* browser) const;
    ButtonController* controllerFor(UINT_PTR commandId) noexcept;

    // Windows of the browser and of this band.
    HWND frame_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND parent_ = nullptr;
    WindowHandle messageWindow_;
    HWND toolbar_ = nullptr;
    ImageListHandle images_;
    ImageListHandle hotImages_;
    bool hasFocus_ = false;

    // What the buttons work with, in construction order.
    SettingsStore settings_;
    StyleController style_;
    LinkController link_;
    KeyboardHook keyboard_;

    // The band's site and identity, for focus notifications.
    ComPtr<IInputObjectSite> site_;
    IDeskBand* bandIdentity_ = nullptr;
};

}  // namespace quorin
