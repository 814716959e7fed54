#pragma once
// Window classes of this module and the one-procedure-per-class forwarding to the owning object.

#include <windows.h>

#include "common/guard.h"

namespace quorin {

// Registers the class for this module unless it already is; className must be a constant of the
// module. Classes stay registered until the module unloads: the library can be unloaded and
// loaded again, at another address, into the same browser process, and a class left behind
// would point into unloaded code.
bool ensureWindowClass(const wchar_t* className, WNDPROC procedure) noexcept;

// Window procedure of a class whose windows keep their owner in GWLP_USERDATA, set from the
// creation parameter. The owner handles every message in handleMessage.
template <class Owner>
LRESULT CALLBACK forwardingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!owner) return DefWindowProcW(hwnd, message, wParam, lParam);
    return windowGuard([&] { return owner->handleMessage(hwnd, message, wParam, lParam); });
}

}  // namespace quorin
