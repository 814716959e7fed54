#pragma once
// Shortcut values (hot-key control format: low byte the virtual key, high byte the modifiers) as
// the settings pages show them: "C + S + A + " in that order, then the key's name.

#include <windows.h>

#include <string>

namespace quorin {

// The name of a virtual-key code; empty for 0, "0x" and two hexadecimal digits when unnamed.
std::wstring keyName(BYTE code);
std::wstring formatShortcut(WORD shortcut);

}  // namespace quorin
