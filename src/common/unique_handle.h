#pragma once
// One owner for every kind of handle the system hands out. A kind is a line: its handle type and
// the function that gives it back, e.g. using MenuHandle = UniqueHandle<HMENU, DestroyMenu>.

#include <windows.h>
#include <commctrl.h>

#include <type_traits>
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
    // Gives the handle back now and tells whether the system took it; a handle it refused is
    // kept, so that the owner can try again (and does at destruction).
    bool close() noexcept {
        static_assert(std::is_same_v<decltype(Close(Handle{})), BOOL>, "for close functions that report success");
        if (handle_ == Handle{}) return true;
        if (!Close(handle_)) return false;
        handle_ = Handle{};
        return true;
    }

private:
    Handle handle_{};
};

using MenuHandle = UniqueHandle<HMENU, DestroyMenu>;
using FontHandle = UniqueHandle<HFONT, DeleteObject>;
using HookHandle = UniqueHandle<HHOOK, UnhookWindowsHookEx>;
using WindowHandle = UniqueHandle<HWND, DestroyWindow>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageList_Destroy>;
using KernelHandle = UniqueHandle<HANDLE, CloseHandle>;

}  // namespace quorin
