#pragma once
// Shortcut values in the hot-key control's format: the virtual key in the low byte, the
// modifiers Shift 1, Control 2, Alt 4 (and extended key 8) in the high byte.

#include <windows.h>
#include <commctrl.h>

namespace quorin {

constexpr WORD kShiftModifier = HOTKEYF_SHIFT << 8;
constexpr WORD kControlModifier = HOTKEYF_CONTROL << 8;
constexpr WORD kAltModifier = HOTKEYF_ALT << 8;

// Shift, Control or Alt pressed on their own reach the controllers too, and act on nothing.
constexpr bool isModifierKey(WORD shortcut) noexcept {
    const BYTE key = LOBYTE(shortcut);
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
}

}  // namespace quorin
