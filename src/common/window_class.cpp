#include "common/window_class.h"

#include "common/module.h"

namespace quorin {

bool ensureWindowClass(const wchar_t* className, WNDPROC procedure) noexcept {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    if (GetClassInfoExW(moduleHandle(), className, &info)) return true;
    info = WNDCLASSEXW{};
    info.cbSize = sizeof info;
    info.style = CS_GLOBALCLASS;
    info.lpfnWndProc = procedure;
    info.hInstance = moduleHandle();
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.lpszClassName = className;
    return RegisterClassExW(&info) != 0;
}

}  // namespace quorin
