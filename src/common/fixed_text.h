#pragma once
// Fixed-capacity UTF-16 text, always terminated inside its buffer. Longer input is cut.

#include <cstddef>
#include <cwchar>

namespace quorin {

template <std::size_t N>
class FixedText {
    static_assert(N > 1, "room for at least one character and the terminator");

public:
    static constexpr std::size_t capacity = N;  // terminator included

    FixedText() noexcept { buf_[0] = 0; }
    FixedText(const wchar_t* text) noexcept { assign(text); }

    void assign(const wchar_t* text) noexcept { assign(text, text ? std::wcslen(text) : 0); }
    void assign(const wchar_t* text, std::size_t length) noexcept {
        if (!text) length = 0;
        if (length > N - 1) length = N - 1;
        if (length) std::wmemcpy(buf_, text, length);
        buf_[length] = 0;
    }
    FixedText& operator=(const wchar_t* text) noexcept {
        assign(text);
        return *this;
    }

    const wchar_t* c_str() const noexcept { return buf_; }
    wchar_t* data() noexcept { return buf_; }
    std::size_t length() const noexcept { return std::wcslen(buf_); }
    bool empty() const noexcept { return buf_[0] == 0; }
    bool operator==(const wchar_t* other) const noexcept { return std::wcscmp(buf_, other ? other : L"") == 0; }

private:
    wchar_t buf_[N];
};

}  // namespace quorin
