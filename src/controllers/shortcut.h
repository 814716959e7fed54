#pragma once
// Shortcut values in the hot-key control's format: the virtual key in the low byte, the
// modifiers Shift 1, Control 2, Alt 4 (and extended key 8) in the high byte.

#include <windows.h>
#include <commctrl.h>

namespace quorin {

constexpr WORD kShiftModifier = HOTKEYF_SHIFT << 8;
constexpr WORD kControlModifier = HOTKEYF_CONTROL << 8;
constexpr WORD kAltModifier = HOTKEYF_ALT << 8;

// The hot-key control marks the arrows, Insert, Delete, Home, End and Page Up/Down as extended keys
// and stored values keep the mark; a pressed key comes without it.
constexpr WORD kExtendedKeyFlag = HOTKEYF_EXT << 8;

// Whether a pressed key is the configured shortcut. The extended-key mark is not compared: the
// settings name a key the same with or without it, and a shortcut shown as "C + Right" fires.
// No key is the shortcut 0 (none set).
constexpr bool isShortcut(WORD pressed, WORD configured) noexcept {
    return LOBYTE(configured) != 0 && ((pressed ^ configured) & ~kExtendedKeyFlag) == 0;
}

// Shift, Control or Alt pressed on their own reach the controllers too, and act on nothing.
constexpr bool isModifierKey(WORD shortcut) noexcept {
    const BYTE key = LOBYTE(shortcut);
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
}

}  // namespace quorin
