#include "common/window_class.h"

#include <mutex>
#include <string>
#include <vector>

#include "common/module.h"

namespace quorin {

namespace {

// The classes this module registered, given back when static destruction runs at unload.
class RegisteredClasses {
public:
    ~RegisteredClasses() {
        for (const std::wstring& name : names_) UnregisterClassW(name.c_str(), moduleHandle());
    }
    void add(const wchar_t* name) noexcept {
        try {
            const std::lock_guard<std::mutex> lock(mutex_);
            for (const std::wstring& known : names_) {
                if (known == name) return;
            }
            names_.emplace_back(name);
        } catch (...) {
            // Not being able to unregister later is no reason to refuse the window now.
        }
    }

private:
    std::mutex mutex_;
    std::vector<std::wstring> names_;
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
