#include "browser/host_process.h"

#include <windows.h>
#include <cwchar>
#include <cwctype>

namespace quorin {

bool isShellHost() noexcept {
    wchar_t path[MAX_PATH + 1] = {};
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return false;
    path[MAX_PATH] = 0;
    CharLowerW(path);
    return std::wcsstr(path, L"explorer.exe") != nullptr;
}

}  // namespace quorin
