#pragma once
// Finding the browser's windows by class name on the calling thread.

#include <windows.h>

namespace quorin {

constexpr wchar_t kDocumentWindowClass[] = L"Internet Explorer_Server";
constexpr wchar_t kStatusBarClass[] = L"msctls_statusbar32";

// The first top-level window of this thread of class "IEFrame" or "CabinetWClass".
HWND findBrowserFrame() noexcept;
// The first descendant of parent whose class name equals className, letter case ignored.
HWND findDescendantByClass(HWND parent, const wchar_t* className) noexcept;

}  // namespace quorin
