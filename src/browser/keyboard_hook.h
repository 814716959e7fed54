#pragma once
// Shortcut keys typed into the page. The keys go to the browser's document window, not to the
// band, so a message hook of the browser window's thread watches the key presses addressed to
// that window and offers each to the style controller, then to the link controller; the releases
// of modifiers count in any window of the thread (the find dialog, the address bar). Messages are
// only observed, never changed or removed.

#include <windows.h>

#include "common/unique_handle.h"

namespace quorin {

class ButtonController;

// One key message of the browser window's thread. Shift, Control and Alt pressed in the page
// (inPage) are tracked in modifiers (a shortcut value's high byte) until their release, which
// counts wherever it happens, as a plain or as a system key. A key pressed in the page, a
// modifier itself included, is offered as a shortcut value to first and, when first does not use
// it, to second. Other messages change nothing.
void handleKeyMessage(UINT message, WPARAM key, bool inPage, WORD& modifiers, ButtonController& first,
                      ButtonController& second);

// The hook state of one toolbar window. A process-wide registry, under one lock, tells the hook
// procedure which toolbar window belongs to the calling thread; the lock is never held while a
// controller runs.
class KeyboardHook {
public:
    KeyboardHook(ButtonController& first, ButtonController& second) noexcept : first_(first), second_(second) {}
    ~KeyboardHook();
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Looks up the frame's document window again and hooks this thread unless that is done;
    // false without a document window, or when the thread's hook serves another toolbar window or
    // cannot be set. An installed hook stays installed either way.
    bool install(HWND frame);
    // False when the system refuses to unhook; the hook and the entry are then kept.
    bool remove();

private:
    static LRESULT CALLBACK hookProcedure(int code, WPARAM removal, LPARAM message);
    static void offer(const MSG& message) noexcept;
    void leaveRegistry() noexcept;

    ButtonController& first_;
    ButtonController& second_;
    HWND documentWindow_ = nullptr;
    HookHandle hook_;
    DWORD thread_ = 0;
    WORD modifiers_ = 0;
};

}  // namespace quorin
