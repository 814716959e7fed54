#include "common/resources.h"

#include "common/module.h"

namespace quorin {

std::wstring loadString(UINT id) {
    const wchar_t* text = nullptr;
    // Length 0 asks for a read-only pointer into the resource itself.
    const int length = LoadStringW(moduleHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return std::wstring();
    return std::wstring(text, static_cast<std::size_t>(length));
}

}  // namespace quorin
