#pragma once
// Owned string from the COM task allocator (StringFromIID and its kin).

#include <windows.h>
#include <objbase.h>
#include <utility>

namespace quorin {

class CoTaskString {
public:
    CoTaskString() noexcept = default;
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;
    ~CoTaskString() { CoTaskMemFree(text_); }

    // Out-parameter slot; frees what is held first.
    LPOLESTR* put() noexcept {
        CoTaskMemFree(std::exchange(text_, nullptr));
        return &text_;
    }
    const wchar_t* get() const noexcept { return text_; }

private:
    LPOLESTR text_ = nullptr;
};

}  // namespace quorin
