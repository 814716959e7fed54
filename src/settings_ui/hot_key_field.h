#pragma once
// The system's hot-key control clears its key on Delete, Backspace or Space without the EN_CHANGE
// it sends its parent for every other key, so a cleared shortcut would look untouched. Watched,
// every key that changes the control's value reaches the parent as that notification.

#include <windows.h>

namespace quorin {

class HotKeyField {
public:
    // Watches the control until it is destroyed; a control already watched stays as it is.
    static void watch(HWND control) noexcept;

private:
    static LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
};

// The control's value as a stored shortcut.
WORD hotKeyOf(HWND control) noexcept;

}  // namespace quorin
