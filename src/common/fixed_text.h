#pragma once
// Fixed-capacity UTF-16 text, always terminated inside its buffer. Longer input is cut, and no
// text keeps half of a surrogate pair at its end: a half character would show as garbage in
// menus and fields, and would be saved back that way.

#include <cstddef>
#include <cwchar>

#include "common/number_text.h"

namespace quorin {

constexpr bool isLeadSurrogate(wchar_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool isTrailSurrogate(wchar_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The units of the character that text starts with: 2 for a surrogate pair, else 1. text[0]
// must not be the terminator.
constexpr std::size_t characterUnits(const wchar_t* text) noexcept {
    return isLeadSurrogate(text[0]) && isTrailSurrogate(text[1]) ? 2 : 1;
}

// The length of the longest start of a terminated text that has at most limit units and ends
// on a whole character.
inline std::size_t wholeLength(const wchar_t* text, std::size_t limit) noexcept {
    std::size_t length = 0;
    while (text[length]) {
        const std::size_t units = characterUnits(text + length);
        if (length + units > limit) break;
        length += units;
    }
    return length;
}

template <std::size_t N>
class FixedText {
    static_assert(N > 1, "room for at least one character and the terminator");

public:
    static constexpr std::size_t capacity = N;  // terminator included

    FixedText() noexcept { buf_[0] = 0; }
    FixedText(const wchar_t* text) noexcept { assign(text); }

    void assign(const wchar_t* text) noexcept { copy(text, text ? wholeLength(text, N - 1) : 0); }
    void assign(const wchar_t* text, std::size_t length) noexcept {
        if (!text) length = 0;
        copy(text, length > N - 1 ? N - 1 : length);
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
    // A first half of a pair at the end is a half character, whoever cut the text: this copy, or
    // an edit control at its typing limit.
    void copy(const wchar_t* text, std::size_t length) noexcept {
        if (length && isLeadSurrogate(text[length - 1])) --length;
        if (length) std::wmemcpy(buf_, text, length);
        buf_[length] = 0;
    }

    wchar_t buf_[N];
};

// A text built from pieces, cut at N - 1 units however long the pieces are, so that a huge piece
// costs no more than a short one. Nothing is appended after a cut: a later short piece would
// otherwise fill the unit a parted pair left free.
template <std::size_t N>
class PieceText {
    static_assert(N > 1, "room for at least one character and the terminator");

public:
    PieceText() noexcept { buf_[0] = 0; }

    // A null piece adds nothing.
    PieceText& append(const wchar_t* piece) noexcept {
        if (!piece || cut_) return *this;
        const std::size_t room = N - 1 - length_;
        const std::size_t n = wholeLength(piece, room);
        std::wmemcpy(buf_ + length_, piece, n);
        length_ += n;
        buf_[length_] = 0;
        cut_ = piece[n] != 0;
        return *this;
    }
    PieceText& append(long number) noexcept {
        wchar_t buffer[kDecimalCapacity];
        return append(decimalDigits(number, buffer));
    }

    const wchar_t* c_str() const noexcept { return buf_; }

private:
    wchar_t buf_[N];
    std::size_t length_ = 0;
    bool cut_ = false;
};

}  // namespace quorin
