// Telling a hot-key control's parent of every change of its key.
#include "settings_ui/hot_key_field.h"

#include <commctrl.h>

namespace quorin {

namespace {

// The control's own procedure, kept with the control while it is watched.
constexpr wchar_t kOwnProcedure[] = L"QuorinHotKeyProc";

}  // namespace

WORD hotKeyOf(HWND control) noexcept { return LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0)); }

void HotKeyField::watch(HWND control) noexcept {
    if (!control || GetPropW(control, kOwnProcedure)) return;
    const LONG_PTR own = GetWindowLongPtrW(control, GWLP_WNDPROC);
    if (!own || !SetPropW(control, kOwnProcedure, reinterpret_cast<HANDLE>(own))) return;
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HotKeyField::procedure));
}

LRESULT CALLBACK HotKeyField::procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetPropW(control, kOwnProcedure));
    if (!own) return DefWindowProcW(control, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        RemovePropW(control, kOwnProcedure);
        return CallWindowProcW(own, control, message, wParam, lParam);
    }
    const bool key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_SYSCHAR;
    if (!key) return CallWindowProcW(own, control, message, wParam, lParam);
    const WORD before = hotKeyOf(control);
    const LRESULT result = CallWindowProcW(own, control, message, wParam, lParam);
    // A second notice of a change the control did announce is harmless: its parent only notes an edit.
    if (IsWindow(control) && hotKeyOf(control) != before)
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), EN_CHANGE),
                     reinterpret_cast<LPARAM>(control));
    return result;
}

}  // namespace quorin
