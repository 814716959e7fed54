// Page descriptor, page procedure and default operations of a settings page.
#include "settings_ui/property_page.h"

#include <cstddef>

#include "common/guard.h"

namespace quorin {

static_assert(sizeof(PROPSHEETPAGEW_V2) == offsetof(PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(LPCWSTR),
              "pages are described up to and including the header titles");

PropertyPage::PropertyPage(HINSTANCE instance, WORD templateId) {
    pageDescriptor_.dwSize = sizeof pageDescriptor_;
    pageDescriptor_.dwFlags = 0;
    pageDescriptor_.hInstance = instance;
    pageDescriptor_.pszTemplate = MAKEINTRESOURCEW(templateId);
    pageDescriptor_.pfnDlgProc = &PropertyPage::pageProc;
    pageDescriptor_.lParam = reinterpret_cast<LPARAM>(this);
}

PropertyPage::~PropertyPage() {
    // A dialog that outlived its page must not reach it any more.
    if (IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

void PropertyPage::setModified(bool changed) {
    if (IsWindow(sheetHwnd_))
        SendMessageW(sheetHwnd_, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd_), 0);
    modified_ = changed;
}

void PropertyPage::setResult(LONG_PTR result) const noexcept { SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result); }

void PropertyPage::attach(HWND hwnd) noexcept {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    hwnd_ = hwnd;
    sheetHwnd_ = GetParent(hwnd);
}

void PropertyPage::detach() noexcept {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    sheetHwnd_ = nullptr;
}

INT_PTR CALLBACK PropertyPage::pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG && lParam) {
        // lParam is the sheet's copy of the descriptor, whose lParam is the page.
        const auto* descriptor = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        if (auto* page = reinterpret_cast<PropertyPage*>(descriptor->lParam)) page->attach(hwnd);
    }
    auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!page) return FALSE;
    const INT_PTR result = windowGuard([&] { return page->dialogProc(hwnd, message, wParam, lParam); }, FALSE);
    if (message == WM_NCDESTROY) page->detach();
    return result;
}

INT_PTR PropertyPage::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        setResult(onInitDialog());
        return TRUE;
    case WM_COMMAND:
        return onCommand(hwnd, wParam, lParam);
    case WM_NOTIFY:
        return lParam ? onNotify(hwnd, wParam, *reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
    case WM_CLOSE:
        onClose();
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR PropertyPage::onNotify(HWND, WPARAM, const NMHDR& header) {
    switch (header.code) {
    case PSN_SETACTIVE:
        setResult(onSetActive() ? 0 : -1);
        return TRUE;
    case PSN_KILLACTIVE:
        setResult(onKillActive() ? FALSE : TRUE);
        return TRUE;
    case PSN_APPLY:
        setResult(onApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        return TRUE;
    case PSN_RESET:
        onReset();
        return TRUE;
    case PSN_QUERYCANCEL:
        setResult(onQueryCancel() ? FALSE : TRUE);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR PropertyPage::onCommand(HWND, WPARAM, LPARAM) { return TRUE; }
INT_PTR PropertyPage::onInitDialog() { return 1; }
bool PropertyPage::onSetActive() { return true; }
bool PropertyPage::onKillActive() { return true; }
void PropertyPage::onClose() {}
void PropertyPage::saveToStore() {}
bool PropertyPage::onQueryCancel() { return true; }
void PropertyPage::onReset() {}

bool PropertyPage::onApply() {
    saveToStore();
    return true;
}

}  // namespace quorin
