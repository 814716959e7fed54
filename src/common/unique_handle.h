#pragma once
// One owner for every kind of handle the system hands out. A kind is a line: its handle type and
// the function that gives it back, e.g. using MenuHandle = UniqueHandle<HMENU, DestroyMenu>.

#include <windows.h>
#include <utility>

namespace quorin {

template <class Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& o) noexcept : handle_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }

    // Out-parameter slot; gives back what is held first.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    // Hands the handle over to the caller, who gives it back.
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) noexcept {
        if (Handle old = std::exchange(handle_, handle); old != Handle{}) Close(old);
    }

private:
    Handle handle_{};
};

using MenuHandle = UniqueHandle<HMENU, DestroyMenu>;
using FontHandle = UniqueHandle<HFONT, DeleteObject>;
using HookHandle = UniqueHandle<HHOOK, UnhookWindowsHookEx>;
using WindowHandle = UniqueHandle<HWND, DestroyWindow>;

}  // namespace quorin
