#pragma once
// Builds an entry's menu text from pieces, cut at the entry's capacity however long the pieces
// are, so that a huge attribute value costs no more than a short one.

#include <cstddef>
#include <cwchar>

#include "common/number_text.h"
#include "shared/link_list.h"

namespace quorin {

class EntryText {
public:
    static constexpr std::size_t capacity = decltype(LinkEntry::text)::capacity;

    EntryText() noexcept { buf_[0] = 0; }

    // A null piece adds nothing.
    EntryText& append(const wchar_t* piece) noexcept {
        if (!piece) return *this;
        const std::size_t room = capacity - 1 - length_;
        const std::size_t n = wcsnlen(piece, room);
        std::wmemcpy(buf_ + length_, piece, n);
        length_ += n;
        buf_[length_] = 0;
        return *this;
    }
    EntryText& append(long number) noexcept {
        wchar_t buffer[kDecimalCapacity];
        return append(decimalDigits(number, buffer));
    }

    const wchar_t* c_str() const noexcept { return buf_; }

private:
    wchar_t buf_[capacity];
    std::size_t length_ = 0;
};

}  // namespace quorin
