#include "browser/keyboard_hook.h"

#include <map>
#include <mutex>

#include "browser/frame_windows.h"
#include "common/guard.h"
#include "controllers/button_controller.h"
#include "controllers/shortcut.h"

namespace quorin {

namespace {

class CriticalSection {
public:
    CriticalSection() noexcept { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void lock() noexcept { EnterCriticalSection(&section_); }
    void unlock() noexcept { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// Thread id to the hook state of the toolbar window that thread's hook serves, one per thread.
class ThreadRegistry {
public:
    // True when the thread's entry is hook's, whether it is new or was there.
    bool claim(DWORD thread, KeyboardHook* hook) {
        const std::lock_guard<CriticalSection> guard(lock_);
        return entries_.emplace(thread, hook).first->second == hook;
    }
    // Only hook's own entry goes: another toolbar window may hold the thread's.
    void leave(DWORD thread, const KeyboardHook* hook) noexcept {
        const std::lock_guard<CriticalSection> guard(lock_);
        const auto found = entries_.find(thread);
        if (found != entries_.end() && found->second == hook) entries_.erase(found);
    }
    KeyboardHook* find(DWORD thread) noexcept {
        const std::lock_guard<CriticalSection> guard(lock_);
        const auto found = entries_.find(thread);
        return found == entries_.end() ? nullptr : found->second;
    }

private:
    // Declared first: the entries go before the lock when the library unloads.
    CriticalSection lock_;
    std::map<DWORD, KeyboardHook*> entries_;
};

ThreadRegistry g_registry;

WORD modifierOf(WPARAM key) noexcept {
    switch (key) {
    case VK_SHIFT: return kShiftModifier;
    case VK_CONTROL: return kControlModifier;
    case VK_MENU: return kAltModifier;
    default: return 0;
    }
}

// Key presses and the releases of modifiers; every other message of the thread stops here.
bool mayMatter(const MSG& message) noexcept {
    switch (message.message) {
    case WM_KEYDOWN: return true;
    case WM_KEYUP:
    case WM_SYSKEYUP: return modifierOf(message.wParam) != 0;
    default: return false;
    }
}

}  // namespace

void handleKeyMessage(UINT message, WPARAM key, bool inPage, WORD& modifiers, ButtonController& first,
                      ButtonController& second) {
    const WORD modifier = modifierOf(key);
    // Control let go in the find dialog, or while Alt is held (a system key), still ends the
    // combination: a plain key typed next must not act as a shortcut.
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        modifiers &= static_cast<WORD>(~modifier);
        return;
    }
    if (message != WM_KEYDOWN || !inPage) return;
    modifiers |= modifier;
    const WORD shortcut = modifiers | LOBYTE(key);
    if (!first.onShortcut(shortcut)) second.onShortcut(shortcut);
}

KeyboardHook::~KeyboardHook() {
    remove();
    // Even when the system kept the hook, the hook procedure must not find this object again.
    leaveRegistry();
}

bool KeyboardHook::install(HWND frame) {
    documentWindow_ = IsWindow(frame) ? findDescendantByClass(frame, kDocumentWindowClass) : nullptr;
    if (!documentWindow_) return false;
    if (hook_) return true;
    const DWORD thread = GetCurrentThreadId();
    // A second hook for the thread would only offer the same keys to the same entry twice.
    if (!g_registry.claim(thread, this)) return false;
    thread_ = thread;
    hook_.reset(SetWindowsHookExW(WH_GETMESSAGE, hookProcedure, nullptr, thread));
    if (hook_) return true;
    leaveRegistry();
    return false;
}

bool KeyboardHook::remove() {
    if (!hook_.close()) return false;
    leaveRegistry();
    return true;
}

void KeyboardHook::leaveRegistry() noexcept {
    if (!thread_) return;
    g_registry.leave(thread_, this);
    thread_ = 0;
}

LRESULT CALLBACK KeyboardHook::hookProcedure(int code, WPARAM removal, LPARAM message) {
    // A message only peeked at comes again when it is taken; it is offered then, once.
    if (code >= 0 && removal == PM_REMOVE && message) offer(*reinterpret_cast<const MSG*>(message));
    // Every message goes on to the thread's other hooks, with or without a toolbar here. The
    // system ignores the hook handle argument.
    return CallNextHookEx(nullptr, code, removal, message);
}

void KeyboardHook::offer(const MSG& message) noexcept {
    if (!mayMatter(message)) return;
    KeyboardHook* const hook = g_registry.find(GetCurrentThreadId());
    if (!hook) return;
    const bool inPage = message.hwnd == hook->documentWindow_;
    windowGuard([&] {
        handleKeyMessage(message.message, message.wParam, inPage, hook->modifiers_, hook->first_, hook->second_);
        return 0;
    });
}

}  // namespace quorin
