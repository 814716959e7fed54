#pragma once
// Decimal and hexadecimal text of numbers, written without the C runtime's formatted output,
// which would otherwise carry its whole formatting machinery into the library.

#include <string>

namespace quorin {

constexpr int kDecimalCapacity = 24;

// Writes the digits into the end of buffer and returns where they start; never allocates.
inline const wchar_t* decimalDigits(long long value, wchar_t (&buffer)[kDecimalCapacity]) noexcept {
    wchar_t* start = buffer + kDecimalCapacity - 1;
    *start = 0;
    // Unsigned arithmetic, so that the most negative value has a magnitude too.
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    do {
        *--start = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) *--start = L'-';
    return start;
}

inline std::wstring decimalText(long long value) {
    wchar_t buffer[kDecimalCapacity];
    return decimalDigits(value, buffer);
}

// Upper-case hexadecimal, padded with zeros to at least minDigits.
inline std::wstring hexText(unsigned long value, int minDigits) {
    std::wstring text;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const unsigned digit = (value >> shift) & 0xF;
        if (text.empty() && digit == 0 && shift >= 4 * minDigits) continue;
        text += L"0123456789ABCDEF"[digit];
    }
    return text;
}

}  // namespace quorin
