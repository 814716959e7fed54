#pragma once
// Items the drop-down menus add to the popups they load, each placed before an item of the
// resource so that additions keep the order in which they are made.

#include <windows.h>

namespace quorin {

// A string item; type adds to MFT_STRING (a radio check, say), state is the MFS_ flags.
bool insertMenuString(HMENU menu, UINT before, UINT id, const wchar_t* text, UINT type = 0, UINT state = 0) noexcept;
bool insertMenuSeparator(HMENU menu, UINT before) noexcept;
// Checked or not, greyed unless enabled.
void setMenuItemState(HMENU menu, UINT id, bool checked, bool enabled) noexcept;

}  // namespace quorin
