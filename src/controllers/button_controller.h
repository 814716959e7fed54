#pragma once
// What the objects behind the toolbar's two buttons share: the button record, the hidden window
// that owns the button's pop-up menus, texts for the toolbar and its tooltips, menu help texts in
// the browser's status bar, and the escaping of menu captions.

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "common/unique_handle.h"

namespace quorin {

class SettingsStore;
class ButtonController;

constexpr wchar_t kButtonWindowClass[] = L"QuorinButtonMsgClass";

// The hidden child of the toolbar control that owns a controller's pop-up menus, so that the
// highlighted item's help text reaches the controller.
class ButtonMessageWindow {
public:
    explicit ButtonMessageWindow(ButtonController& owner) noexcept : owner_(owner) {}
    ~ButtonMessageWindow();
    ButtonMessageWindow(const ButtonMessageWindow&) = delete;
    ButtonMessageWindow& operator=(const ButtonMessageWindow&) = delete;

    // Creates the window under toolbar unless it exists; true when it exists.
    bool create(HWND toolbar);
    HWND handle() const noexcept { return window_.get(); }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    ButtonController& owner_;
    WindowHandle window_;
};

class ButtonController {
public:
    ButtonController(SettingsStore& settings, int imageIndex, int commandId, bool dropDown) noexcept;
    virtual ~ButtonController() = default;
    ButtonController(const ButtonController&) = delete;
    ButtonController& operator=(const ButtonController&) = delete;

    int commandId() const noexcept { return button_.idCommand; }
    void setToolbar(HWND toolbar) noexcept { toolbar_ = toolbar; }
    void setStatusBar(HWND statusBar) noexcept { statusBar_ = statusBar; }
    HWND buttonWindow() const noexcept { return buttonWindow_.handle(); }

    // Creates the button window if needed and adds the button to the toolbar.
    bool addButton();

    virtual void getTooltip(NMTTDISPINFOW& info) = 0;
    // Fills the customize dialog's request for this button; returns 1.
    virtual LRESULT getButtonInfo(NMTOOLBARW& info) = 0;
    // A click on the button face.
    virtual LRESULT onCommand() { return 0; }
    virtual LRESULT onDropDown(const NMTOOLBARW&) { return TBDDRET_DEFAULT; }
    // True when the shortcut value was used.
    virtual bool onShortcut(WORD) { return false; }
    // Shows the help text stored under the highlighted item's command id.
    virtual LRESULT onMenuSelect(WPARAM wParam, LPARAM lParam);

    // Copies source, doubling each "&" so that a menu shows it literally. At most capacity - 1
    // characters are written, a doubled ampersand whole or not at all; returns how many.
    static std::size_t escapeAmpersands(const wchar_t* source, wchar_t* destination, std::size_t capacity) noexcept;

protected:
    // The tooltip control loads the string itself from the module and id.
    static void setTooltipText(NMTTDISPINFOW& info, UINT stringId) noexcept;
    LRESULT fillButtonInfo(NMTOOLBARW& info, UINT textId) const noexcept;
    void showStatusText(const wchar_t* text) const noexcept;

    // Shows popup popupIndex of the menus resource under the pressed button, built by
    // prepareMenu, and hands a chosen command to runMenuCommand. 1 when there is no such menu.
    LRESULT showDropDownMenu(const NMTOOLBARW& info, int popupIndex);
    virtual void prepareMenu(HMENU) {}
    virtual void runMenuCommand(UINT) {}

    // For the menus: their button's place, and the settings their sheets edit.
    HWND toolbar() const noexcept { return toolbar_; }
    SettingsStore& settings() const noexcept { return *settings_; }

private:
    TBBUTTON button_{};
    HWND toolbar_ = nullptr;
    ButtonMessageWindow buttonWindow_;
    HWND statusBar_ = nullptr;
    SettingsStore* settings_;
};

}  // namespace quorin
