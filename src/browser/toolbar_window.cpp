#include "browser/toolbar_window.h"

#include "browser/custom_messages.h"
#include "common/module.h"
#include "common/window_class.h"

namespace quorin {

ToolbarWindow::~ToolbarWindow() {
    site_.reset();
    bandIdentity_ = nullptr;
    if (IsWindow(messageWindow_)) {
        // The window must not reach this object once it is gone.
        SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, 0);
        DestroyWindow(messageWindow_);
    }
}

bool ToolbarWindow::createWindow(HWND parent) {
    if (!parent) return false;
    parentWindow_ = parent;
    if (messageWindow_) return true;
    if (!ensureWindowClass(kMessageWindowClass, forwardingWindowProc<ToolbarWindow>)) return false;
    RECT client{};
    GetClientRect(parent, &client);
    CreateWindowExW(WS_EX_TOOLWINDOW, kMessageWindowClass, nullptr, WS_CHILD | WS_CLIPCHILDREN, client.left,
                    client.top, client.right - client.left, client.bottom - client.top, parent, nullptr,
                    moduleHandle(), this);
    return messageWindow_ != nullptr;
}

void ToolbarWindow::destroyWindow() {
    if (!IsWindow(messageWindow_)) return;
    ShowWindow(messageWindow_, SW_HIDE);
    DestroyWindow(messageWindow_);
}

void ToolbarWindow::setSite(IInputObjectSite* site, IDeskBand* bandIdentity) {
    site_ = ComPtr<IInputObjectSite>(site);
    bandIdentity_ = bandIdentity;
}

void ToolbarWindow::notifyFocus(bool focused) {
    hasFocus_ = focused;
    if (site_ && bandIdentity_) site_->OnFocusChangeIS(bandIdentity_, focused ? TRUE : FALSE);
}

LRESULT ToolbarWindow::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        messageWindow_ = hwnd;
        break;
    case WM_NCDESTROY:
        messageWindow_ = nullptr;
        hasFocus_ = false;
        break;
    case WM_SETFOCUS:
        notifyFocus(true);
        break;
    case WM_KILLFOCUS:
        notifyFocus(false);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace quorin
