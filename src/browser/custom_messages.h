#pragma once
// Messages the browser helper sends to the toolbar's message window.

#include <windows.h>

namespace quorin {

constexpr UINT UM_TOP_BEFORE_NAVIGATE = WM_USER + 0x1001;
constexpr UINT UM_TOP_NAVIGATE_COMPLETE = WM_USER + 0x1002;
constexpr UINT UM_TITLE_CHANGE = WM_USER + 0x1003;
constexpr UINT UM_TOP_DOCUMENT_COMPLETE = WM_USER + 0x1004;
constexpr UINT UM_HELPER_ATTACHED = WM_USER + 0x1005;
constexpr UINT UM_BROWSER_QUIT = WM_USER + 0x1006;
constexpr UINT UM_FRAME_BEFORE_NAVIGATE = WM_USER + 0x1007;
constexpr UINT UM_FRAME_NAVIGATE_COMPLETE = WM_USER + 0x1008;
constexpr UINT UM_FRAME_DOCUMENT_COMPLETE = WM_USER + 0x1009;
constexpr UINT UM_ENABLE_TOOLBAR = WM_USER + 0x1064;
constexpr UINT UM_DISABLE_TOOLBAR = WM_USER + 0x1065;

constexpr wchar_t kMessageWindowClass[] = L"QuorinMsgClass";

}  // namespace quorin
