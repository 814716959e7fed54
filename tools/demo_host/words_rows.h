#pragma once
// The demo's user adds the two link types matched by words, as the README shows: the link
// settings sheet opened from the link menu, each row typed into the entry dialog, and "次(文字)"
// placed after "次" in the cruise.

#include <windows.h>

#include <functional>
#include <string>

namespace quorin::demo {

// Signals a view to take a screenshot of; wait keeps the modal loops running, false to give up.
using View = std::function<void(const std::wstring& name, const std::function<bool(DWORD)>& wait)>;

// True when the sheet was worked through and closed with OK.
bool addWordsRows(HWND toolbar, const View& view);

}  // namespace quorin::demo
