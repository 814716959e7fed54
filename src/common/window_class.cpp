#include "common/window_class.h"

#include "common/module.h"

namespace quorin {

namespace {

// The classes this module registered, given back when static destruction runs at unload. The
// names are the module's own constants, so pointers to them outlive every registration.
class RegisteredClasses {
public:
    ~RegisteredClasses() {
        for (void* name : names_) {
            if (name) UnregisterClassW(static_cast<const wchar_t*>(name), moduleHandle());
        }
    }
    // Lock-free, as two browser threads may register at once; a name noted twice is harmless.
    void add(const wchar_t* name) noexcept {
        for (void*& slot : names_) {
            const void* held = InterlockedCompareExchangePointer(&slot, const_cast<wchar_t*>(name), nullptr);
            if (!held || held == name) return;
        }
    }

private:
    void* names_[8] = {};
};

RegisteredClasses g_registered;

constexpr int kVisibilityAttempts = 100;

bool isRegistered(const wchar_t* className) noexcept {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    return GetClassInfoExW(moduleHandle(), className, &info) != FALSE;
}

// Another browser thread may have registered it between the check and here. The system can
// refuse the second registration a moment before this thread sees the first one's class, so a
// refused class is looked for again for a little while.
bool registeredMeanwhile(const wchar_t* className) noexcept {
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    for (int attempt = 0; attempt < kVisibilityAttempts; ++attempt) {
        if (isRegistered(className)) return true;
        Sleep(1);
    }
    return false;
}

}  // namespace

bool ensureWindowClass(const wchar_t* className, WNDPROC procedure) noexcept {
    if (isRegistered(className)) return true;
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    info.style = CS_GLOBALCLASS;
    info.lpfnWndProc = procedure;
    info.hInstance = moduleHandle();
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.lpszClassName = className;
    const bool registered = RegisterClassExW(&info) != 0 || registeredMeanwhile(className);
    if (registered) g_registered.add(className);
    return registered;
}

}  // namespace quorin
