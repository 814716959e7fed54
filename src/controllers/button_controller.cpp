#include "controllers/button_controller.h"

#include <cwchar>

#include "common/fixed_text.h"
#include "common/module.h"
#include "common/resources.h"
#include "common/window_class.h"
#include "resource.h"

namespace quorin {

namespace {

// Status-bar help texts are menu-sized.
constexpr std::size_t kHelpTextCapacity = 80;

}  // namespace

ButtonMessageWindow::~ButtonMessageWindow() {
    // The window must not reach its owner once the owner is gone.
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

bool ButtonMessageWindow::create(HWND toolbar) {
    if (IsWindow(window_.get())) return true;
    if (!toolbar || !ensureWindowClass(kButtonWindowClass, forwardingWindowProc<ButtonMessageWindow>)) return false;
    CreateWindowExW(WS_EX_TRANSPARENT, kButtonWindowClass, nullptr, WS_CHILD | WS_DISABLED, 0, 0, 0, 0, toolbar,
                    nullptr, moduleHandle(), this);
    return window_.get() != nullptr;
}

LRESULT ButtonMessageWindow::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        window_.reset(hwnd);
        break;
    case WM_NCDESTROY:
        // Gone with its parent; nothing left to destroy.
        window_.release();
        break;
    case WM_MENUSELECT:
        return owner_.onMenuSelect(wParam, lParam);
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

ButtonController::ButtonController(SettingsStore& settings, int imageIndex, int commandId, bool dropDown) noexcept
    : buttonWindow_(*this), settings_(&settings) {
    button_.iBitmap = imageIndex;
    button_.idCommand = commandId;
    button_.fsState = TBSTATE_ENABLED;
    button_.fsStyle = dropDown ? BTNS_DROPDOWN : 0;
}

bool ButtonController::addButton() {
    if (!buttonWindow_.create(toolbar_)) return false;
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return SendMessageW(toolbar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button_)) != FALSE;
}

LRESULT ButtonController::onMenuSelect(WPARAM wParam, LPARAM) {
    // Submenu holders, and the closing menu (0xFFFF), have no help text.
    const bool popup = (HIWORD(wParam) & MF_POPUP) != 0;
    const std::wstring help = popup ? std::wstring() : loadString(LOWORD(wParam));
    showStatusText(help.substr(0, kHelpTextCapacity - 1).c_str());
    return 0;
}

std::size_t ButtonController::escapeAmpersands(const wchar_t* source, wchar_t* destination,
                                               std::size_t capacity) noexcept {
    if (!destination || capacity == 0) return 0;
    std::size_t written = 0;
    const std::size_t room = capacity - 1;
    for (const wchar_t* c = source; c && *c;) {
        const std::size_t units = characterUnits(c);
        const std::size_t needed = *c == L'&' ? 2 : units;
        // Cut at the first character that does not fit, so that neither a doubled "&" nor a
        // surrogate pair is left half written.
        if (written + needed > room) break;
        if (*c == L'&') destination[written++] = L'&';
        std::wmemcpy(destination + written, c, units);
        written += units;
        c += units;
    }
    destination[written] = 0;
    return written;
}

LRESULT ButtonController::showDropDownMenu(const NMTOOLBARW& info, int popupIndex) {
    RECT button{};
    SendMessageW(toolbar_, TB_GETRECT, info.iItem, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    MenuHandle menus(LoadMenuW(moduleHandle(), MAKEINTRESOURCEW(IDR_MENUS)));
    HMENU popup = menus ? GetSubMenu(menus.get(), popupIndex) : nullptr;
    if (!popup) return 1;
    prepareMenu(popup);
    TPMPARAMS exclude{sizeof exclude, button};
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_VERTICAL | TPM_RIGHTBUTTON, button.left, button.bottom,
                         buttonWindow_.handle(), &exclude));
    menus.reset();
    if (chosen) runMenuCommand(chosen);
    return 0;
}

void ButtonController::setTooltipText(NMTTDISPINFOW& info, UINT stringId) noexcept {
    info.hinst = moduleHandle();
    info.lpszText = MAKEINTRESOURCEW(stringId);
}

LRESULT ButtonController::fillButtonInfo(NMTOOLBARW& info, UINT textId) const noexcept {
    info.tbButton = button_;
    if (info.pszText && info.cchText > 0) {
        info.pszText[0] = 0;
        LoadStringW(moduleHandle(), textId, info.pszText, info.cchText);
    }
    return 1;
}

void ButtonController::showStatusText(const wchar_t* text) const noexcept {
    if (!statusBar_) return;
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace quorin
