#pragma once
// The working half of the band: owns the message window of one browser window and, through it,
// everything the band shows.

#include <windows.h>
#include <shlobj.h>

#include "common/com_ptr.h"

namespace quorin {

class ToolbarWindow {
public:
    ToolbarWindow() = default;
    ~ToolbarWindow();
    ToolbarWindow(const ToolbarWindow&) = delete;
    ToolbarWindow& operator=(const ToolbarWindow&) = delete;

    // Creates the hidden message window under parent once; true when it exists.
    bool createWindow(HWND parent);
    void destroyWindow();
    // The band identity is kept uncounted: the band owns this object, so it outlives it.
    void setSite(IInputObjectSite* site, IDeskBand* bandIdentity);

    HWND messageWindow() const noexcept { return messageWindow_; }
    bool hasFocus() const noexcept { return hasFocus_; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void notifyFocus(bool focused);

    HWND parentWindow_ = nullptr;
    HWND messageWindow_ = nullptr;
    bool hasFocus_ = false;
    ComPtr<IInputObjectSite> site_;
    IDeskBand* bandIdentity_ = nullptr;
};

}  // namespace quorin
