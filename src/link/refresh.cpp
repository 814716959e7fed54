#include "link/refresh.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>
#include <string>

namespace quorin {

namespace {

void trim(std::wstring& text, const wchar_t* characters) {
    if (text.empty()) return;
    StrTrimW(text.data(), characters);
    text.resize(std::wcslen(text.c_str()));
}

}  // namespace

std::optional<Refresh> parseRefresh(const wchar_t* content, const SharedString& baseAddress) {
    if (!content) return std::nullopt;
    const std::size_t untrimmedLength = std::wcslen(content);
    std::wstring copy(content, untrimmedLength);
    trim(copy, L" \t\r\n");
    const std::size_t delimiter = std::wcscspn(copy.c_str(), L";,");
    Refresh refresh;
    refresh.seconds = StrToIntW(copy.c_str());
    if (refresh.seconds < 0) return std::nullopt;
    std::wstring rest = copy.substr(delimiter);
    if (delimiter < untrimmedLength) trim(rest, L" \t\r\n;,");
    if (!rest.empty() && StrCmpNIW(rest.c_str(), L"URL=", 4) == 0) {
        rest.erase(0, 4);
        trim(rest, L" \t\r\n");
    }
    refresh.address = rest.empty() ? baseAddress : SharedString(rest.c_str(), rest.size());
    return refresh;
}

}  // namespace quorin
