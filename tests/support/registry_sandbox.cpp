#include "support/registry_sandbox.h"

#include <shlwapi.h>

#include "common/reg_key.h"

namespace quorin::test {

namespace {
LONG g_sandboxes = 0;
}

RegistrySandbox::RegistrySandbox() {
    path_ = L"Software\\QuorinTestSandbox\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++g_sandboxes);
    SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
    RegKey key;
    if (!key.create(HKEY_CURRENT_USER, path_.c_str(), KEY_ALL_ACCESS)) return;
    active_ = RegOverridePredefKey(HKEY_CURRENT_USER, key.get()) == ERROR_SUCCESS;
}

RegistrySandbox::~RegistrySandbox() {
    if (active_) RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
    SHDeleteEmptyKeyW(HKEY_CURRENT_USER, L"Software\\QuorinTestSandbox");
}

}  // namespace quorin::test
