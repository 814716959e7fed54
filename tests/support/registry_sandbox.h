#pragma once
// Redirects HKEY_CURRENT_USER of this process into a fresh private key for the sandbox's
// lifetime, so that tests of stored settings start empty and cannot disturb each other.

#include <windows.h>

#include <string>

namespace quorin::test {

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    bool active() const noexcept { return active_; }

private:
    std::wstring path_;
    bool active_ = false;
};

}  // namespace quorin::test
