#pragma once
// Owned registry key handle.

#include <windows.h>
#include <utility>

namespace quorin {

class RegKey {
public:
    RegKey() noexcept = default;
    explicit RegKey(HKEY key) noexcept : key_(key) {}
    RegKey(RegKey&& o) noexcept : key_(std::exchange(o.key_, nullptr)) {}
    RegKey& operator=(RegKey&& o) noexcept {
        if (this != &o) {
            close();
            key_ = std::exchange(o.key_, nullptr);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { close(); }

    // Opens an existing key; false when it is missing or access is refused.
    bool open(HKEY root, const wchar_t* path, REGSAM access) noexcept {
        close();
        if (RegOpenKeyExW(root, path, 0, access, &key_) == ERROR_SUCCESS) return true;
        key_ = nullptr;
        return false;
    }
    // Opens or creates a non-volatile key.
    bool create(HKEY root, const wchar_t* path, REGSAM access) noexcept {
        close();
        if (RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_,
                            nullptr) == ERROR_SUCCESS)
            return true;
        key_ = nullptr;
        return false;
    }

    HKEY get() const noexcept { return key_; }
    explicit operator bool() const noexcept { return key_ != nullptr; }
    void close() noexcept {
        if (HKEY k = std::exchange(key_, nullptr)) RegCloseKey(k);
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace quorin
