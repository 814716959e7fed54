#include "browser/frame_windows.h"

namespace quorin {

namespace {

struct Search {
    const wchar_t* first;
    const wchar_t* second;
    HWND found;
};

BOOL CALLBACK matchClass(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t name[80] = {};
    if (!GetClassNameW(window, name, 80)) return TRUE;
    if (lstrcmpiW(name, search->first) == 0 || (search->second && lstrcmpiW(name, search->second) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND findBrowserFrame() noexcept {
    Search search{L"CabinetWClass", L"IEFrame", nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findDescendantByClass(HWND parent, const wchar_t* className) noexcept {
    Search search{className, nullptr, nullptr};
    EnumChildWindows(parent, matchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace quorin
