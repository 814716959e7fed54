#include "link/link_words.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "settings/settings_store.h"

namespace quorin {

namespace {

// No alternative is longer than an attribute value can be.
constexpr std::size_t kLongestAlternative = decltype(LinkTypeEntry::Attr)::capacity - 1;

// Ideographic and no-break spaces are as common between a link's words as the ASCII blanks.
constexpr std::wstring_view kBlanks = L" \t\n\r\f\v\u00A0\u3000";
// Pointing right and left, as pagers put them beside "next" and "previous".
constexpr std::wstring_view kArrows = L"\u00BB\u203A\u226B>\uFF1E\u2192\u00AB\u2039\u226A<\uFF1C\u2190";

bool isBlank(wchar_t c) { return kBlanks.find(c) != std::wstring_view::npos; }
bool isBlankOrArrow(wchar_t c) { return isBlank(c) || kArrows.find(c) != std::wstring_view::npos; }

template <class Skipped>
std::wstring_view trimmed(std::wstring_view text, Skipped skipped) {
    while (!text.empty() && skipped(text.front())) text.remove_prefix(1);
    while (!text.empty() && skipped(text.back())) text.remove_suffix(1);
    return text;
}

// Blanks inside collapse to one space; the copy stops one character past the longest alternative.
std::wstring collapsed(std::wstring_view text) {
    std::wstring out;
    bool blank = false;
    for (wchar_t c : text) {
        if (out.size() > kLongestAlternative) break;
        if (isBlank(c)) {
            blank = true;
            continue;
        }
        if (blank) out += L' ';
        blank = false;
        out += c;
    }
    return out;
}

}  // namespace

std::wstring comparableWords(const wchar_t* text) {
    if (!text) return {};
    const std::wstring_view words = trimmed(std::wstring_view(text), isBlank);
    const std::wstring_view core = trimmed(words, isBlankOrArrow);
    std::wstring out = collapsed(core.empty() ? words : core);
    if (!out.empty()) CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

std::vector<std::wstring> wordAlternatives(const wchar_t* attr) {
    std::vector<std::wstring> alternatives;
    if (!attr) return alternatives;
    std::wstring_view rest(attr);
    for (;;) {
        const std::size_t bar = rest.find(L'|');
        std::wstring words = comparableWords(std::wstring(rest.substr(0, bar)).c_str());
        if (!words.empty()) alternatives.push_back(std::move(words));
        if (bar == std::wstring_view::npos) return alternatives;
        rest.remove_prefix(bar + 1);
    }
}

bool matchesWords(const std::vector<std::wstring>& alternatives, const std::wstring& words) {
    return !words.empty() && std::find(alternatives.begin(), alternatives.end(), words) != alternatives.end();
}

}  // namespace quorin
