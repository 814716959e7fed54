#pragma once
// Owned registry key handle.

#include <windows.h>

#include "common/unique_handle.h"

namespace quorin {

class RegKey : public UniqueHandle<HKEY, RegCloseKey> {
public:
    using UniqueHandle::UniqueHandle;

    // Opens an existing key; false when it is missing or access is refused.
    bool open(HKEY root, const wchar_t* path, REGSAM access) noexcept {
        return openStatus(root, path, access) == ERROR_SUCCESS;
    }
    // The system's answer: ERROR_FILE_NOT_FOUND tells a missing key from one that cannot be opened.
    LONG openStatus(HKEY root, const wchar_t* path, REGSAM access) noexcept {
        HKEY key = nullptr;
        const LONG result = RegOpenKeyExW(root, path, 0, access, &key);
        reset(result == ERROR_SUCCESS ? key : nullptr);
        return result;
    }
    // Opens or creates a non-volatile key.
    bool create(HKEY root, const wchar_t* path, REGSAM access) noexcept {
        HKEY key = nullptr;
        const LONG result =
            RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
        reset(result == ERROR_SUCCESS ? key : nullptr);
        return result == ERROR_SUCCESS;
    }
};

}  // namespace quorin
